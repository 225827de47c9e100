// libFuzzer target: the field reader converts every field as the C library
// does.  Each field is read twice, once as a number and once as text through
// a second cursor; the text (cut to 99 bytes, ending at its first zero byte
// as a C string would) goes to strtol and strtod, whose results must match
// bit for bit: strtol saturated to int, strtod narrowed to float with
// overflow going to infinity.
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "assets/TextFields.h"

namespace {

int intByCLibrary(const char* text)
{
    const long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

float floatByCLibrary(const char* text)
{
    const double value = std::strtod(text, nullptr);
    if (value > FLT_MAX)
        return std::numeric_limits<float>::infinity();
    if (value < -FLT_MAX)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

bool sameFloat(float a, float b)
{
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

// Reads the data field by field as numbers (ints or floats) and as text.
void compareFields(const std::uint8_t* data, std::size_t size, bool asFloat)
{
    TextCursor numbers(data, size);
    TextCursor texts(data, size);
    char text[kTextFieldBufferSize];
    while (!numbers.atEnd()) {
        readText(texts, text);
        if (asFloat ? !sameFloat(readFloat(numbers), floatByCLibrary(text))
                    : readInt(numbers) != intByCLibrary(text))
            __builtin_trap();
        if (numbers.pos != texts.pos || numbers.pos > data + size)
            __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    compareFields(data, size, false);
    compareFields(data, size, true);
    return 0;
}
