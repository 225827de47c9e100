#pragma once
#include <cstddef>

// Reads the text resources (sync data, scenes) as one flat sequence of
// fields.  A field ends at ';', at CR (whose following byte, the LF, is
// skipped unseen) or at the end of the data; a bare LF is part of a field.
// The cursor never moves past `end`, whatever the text holds.
struct TextCursor {
    const unsigned char* pos = nullptr;
    const unsigned char* end = nullptr;
    // Set (and kept) once any field read through this cursor was longer than
    // 99 bytes; such a field is read as its first 99 bytes.
    bool overlong = false;

    TextCursor() = default;
    TextCursor(const unsigned char* data, std::size_t size) : pos(data), end(data + size) {}
    bool atEnd() const { return pos >= end; }
};

constexpr std::size_t kTextFieldBufferSize = 100;   // 99 bytes of text and a zero

// The field as atoi would convert it (0 for an empty or non-numeric field).
int readInt(TextCursor& cursor);
// The field as atof would convert it, rounded to single precision.
float readFloat(TextCursor& cursor);
// Zeroes the caller's 100-byte buffer and copies the field into it.  A field
// longer than 99 bytes is cut to its first 99; the rest is skipped.
void readText(TextCursor& cursor, char (&buffer)[kTextFieldBufferSize]);
