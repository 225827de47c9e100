#include "assets/TextFields.h"

#include <cfloat>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t kMaxFieldLength = kTextFieldBufferSize - 1;

// One field as it stands in the text: its first byte and its length, cut to
// 99 bytes.  The cursor moves past the field and its terminator.
struct FieldSpan {
    const unsigned char* begin;
    std::size_t length;
};

FieldSpan nextField(TextCursor& cursor)
{
    const unsigned char* const begin = cursor.pos;
    const unsigned char* p = begin;
    const unsigned char* const end = cursor.end;
    while (p < end && *p != ';' && *p != '\r')
        ++p;
    std::size_t length = static_cast<std::size_t>(p - begin);
    if (length > kMaxFieldLength) {
        cursor.overlong = true;
        length = kMaxFieldLength;
    }
    if (p < end) {
        const bool carriageReturn = *p == '\r';
        ++p;
        if (carriageReturn && p < end)
            ++p;   // the LF of the pair, not examined
    }
    cursor.pos = p;
    return {begin, length};
}

bool isCSpace(unsigned char byte)
{
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

// The field as a zero-terminated string for the C library's converters.
void copyField(const FieldSpan& field, char (&buffer)[kTextFieldBufferSize])
{
    if (field.length != 0)
        std::memcpy(buffer, field.begin, field.length);
    buffer[field.length] = '\0';
}

float narrowSaturating(double value)
{
    // Narrowing a double beyond float's range is undefined; saturate instead.
    if (value > FLT_MAX)
        return std::numeric_limits<float>::infinity();
    if (value < -FLT_MAX)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

float floatByCLibrary(const FieldSpan& field)
{
    char buffer[kTextFieldBufferSize];
    copyField(field, buffer);
    return narrowSaturating(std::atof(buffer));
}

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

int readInt(TextCursor& cursor)
{
    // strtol's reading (blanks, sign, digits), saturated to int: atoi's value
    // wherever atoi's is defined.
    const FieldSpan field = nextField(cursor);
    const unsigned char* p = field.begin;
    const unsigned char* const end = field.begin + field.length;
    while (p < end && isCSpace(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    std::int64_t magnitude = 0;
    constexpr std::int64_t kCap = static_cast<std::int64_t>(INT_MAX) + 2;
    while (p < end && *p >= '0' && *p <= '9') {
        magnitude = magnitude * 10 + (*p++ - '0');
        if (magnitude > kCap)
            magnitude = kCap;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

float readFloat(TextCursor& cursor)
{
    const FieldSpan field = nextField(cursor);
    // Plain decimals ("-1440.5504") are converted here: an integer mantissa
    // below 2^53 divided by an exact power of ten is rounded once, exactly as
    // a correctly rounding atof rounds.  Anything else (blanks, exponents,
    // hexadecimal, inf, long mantissas) goes to the C library.
    const unsigned char* p = field.begin;
    const unsigned char* const end = field.begin + field.length;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    std::uint64_t mantissa = 0;
    int digits = 0;
    int fractionDigits = 0;
    while (p < end && *p >= '0' && *p <= '9') {
        mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
        ++digits;
        if (digits > 18)
            return floatByCLibrary(field);
    }
    if (p < end && *p == '.') {
        ++p;
        while (p < end && *p >= '0' && *p <= '9') {
            mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
            ++digits;
            ++fractionDigits;
            if (digits > 18 || fractionDigits > 22)
                return floatByCLibrary(field);
        }
    }
    if (digits == 0 || mantissa > (std::uint64_t{1} << 53))
        return floatByCLibrary(field);
    if (p < end && (*p == 'e' || *p == 'E' || *p == 'x' || *p == 'X'))
        return floatByCLibrary(field);
    double value = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
    if (negative)
        value = -value;
    return static_cast<float>(value);
}

void readText(TextCursor& cursor, char (&buffer)[kTextFieldBufferSize])
{
    std::memset(buffer, 0, sizeof buffer);
    const FieldSpan field = nextField(cursor);
    if (field.length != 0)
        std::memcpy(buffer, field.begin, field.length);
}
