#include "gles/MatrixStack.h"

MatrixStack::MatrixStack(int maxDepth) : stack_{identityMatrix()}, maxDepth_(maxDepth)
{
    stack_.reserve(static_cast<std::size_t>(maxDepth));
}

bool MatrixStack::push()
{
    if (depth() >= maxDepth_)
        return false;
    stack_.push_back(stack_.back());
    return true;
}

bool MatrixStack::pop()
{
    if (depth() <= 1)
        return false;
    stack_.pop_back();
    return true;
}
