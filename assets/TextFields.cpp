#include "assets/TextFields.h"

#include <cfloat>
#include <climits>
#include <cstdlib>
#include <limits>
#include <cstring>

namespace {

// Consumes one field and its terminator, gathering at most 99 bytes of it.
void gatherField(TextCursor& cursor, char (&buffer)[kTextFieldBufferSize])
{
    std::memset(buffer, 0, sizeof buffer);
    std::size_t length = 0;
    while (cursor.pos < cursor.end) {
        const unsigned char byte = *cursor.pos++;
        if (byte == ';')
            return;
        if (byte == '\r') {
            if (cursor.pos < cursor.end)
                ++cursor.pos;   // the LF of the pair, not examined
            return;
        }
        if (length < kTextFieldBufferSize - 1)
            buffer[length++] = static_cast<char>(byte);
    }
}

}  // namespace

int readInt(TextCursor& cursor)
{
    char field[kTextFieldBufferSize];
    gatherField(cursor, field);
    // strtol rather than atoi: the same digits, but defined for any length.
    const long value = std::strtol(field, nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

float readFloat(TextCursor& cursor)
{
    char field[kTextFieldBufferSize];
    gatherField(cursor, field);
    const double value = std::atof(field);
    // Narrowing a double beyond float's range is undefined; saturate instead.
    if (value > FLT_MAX)
        return std::numeric_limits<float>::infinity();
    if (value < -FLT_MAX)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

void readText(TextCursor& cursor, char (&buffer)[kTextFieldBufferSize])
{
    gatherField(cursor, buffer);
}
