#pragma once

#include <vector>

#include "gles/Matrix.h"

// One of the fixed-function matrix stacks: a current matrix on top of the
// matrices pushed below it.  The depth limits are the driver's (32 for the
// modelview, 2 or more for the others); pushing past them or popping the
// last matrix is refused and reported by the caller as a stack error.
class MatrixStack {
public:
    explicit MatrixStack(int maxDepth);

    const Mat4& top() const { return stack_.back(); }
    Mat4& top() { return stack_.back(); }
    int depth() const { return static_cast<int>(stack_.size()); }

    bool push();   // the copy on top is the same matrix: no change
    bool pop();
    void load(const Mat4& matrix) { top() = matrix; }
    void multiplyBy(const Mat4& matrix) { top() = multiply(top(), matrix); }

private:
    std::vector<Mat4> stack_;
    int maxDepth_;
};
