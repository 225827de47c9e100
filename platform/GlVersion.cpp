#include "platform/GlVersion.h"

#include <GL/gl.h>
#include <cctype>
#include <cstring>

namespace {

// Reads digits at text into value; false when there are none.
bool readNumber(const char*& text, int& value)
{
    if (!std::isdigit(static_cast<unsigned char>(*text)))
        return false;
    value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*text)); ++text)
        value = value * 10 + (*text - '0');
    return true;
}

}  // namespace

GlVersion parseGlVersion(const char* text)
{
    GlVersion version;
    if (text == nullptr)
        return version;
    static const char esPrefix[] = "OpenGL ES ";
    if (std::strncmp(text, esPrefix, sizeof esPrefix - 1) == 0) {
        version.es = true;
        text += sizeof esPrefix - 1;
    }
    int major = 0;
    int minor = 0;
    if (!readNumber(text, major) || *text != '.')
        return GlVersion{};
    ++text;
    if (!readNumber(text, minor))
        return GlVersion{};
    version.major = major;
    version.minor = minor;
    return version;
}

GlVersion currentGlVersion()
{
    return parseGlVersion(reinterpret_cast<const char*>(glGetString(GL_VERSION)));
}

bool hasGlExtension(const char* name)
{
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (extensions == nullptr)
        return false;
    // Whole words only: one extension's name may begin another's.
    const std::size_t length = std::strlen(name);
    for (const char* found = std::strstr(extensions, name); found != nullptr; found = std::strstr(found + 1, name)) {
        const bool startsWord = found == extensions || found[-1] == ' ';
        const bool endsWord = found[length] == ' ' || found[length] == '\0';
        if (startsWord && endsWord)
            return true;
    }
    return false;
}
