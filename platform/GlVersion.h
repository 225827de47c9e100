#pragma once

// The OpenGL version a context reports.  Desktop OpenGL's glGetString
// (GL_VERSION) begins with the number ("4.5 (Compatibility Profile) Mesa
// 22.3.6"), OpenGL ES's with its name ("OpenGL ES 3.2 Mesa 22.3.6"); the
// calls a feature needs came with different versions of each.
struct GlVersion {
    int major = 0;
    int minor = 0;
    bool es = false;

    bool atLeast(int wantedMajor, int wantedMinor) const
    {
        return major > wantedMajor || (major == wantedMajor && minor >= wantedMinor);
    }
};

// The version in a GL_VERSION string; 0.0 when there is none (null, or
// text that names no version).
GlVersion parseGlVersion(const char* text);
// The current context's version; 0.0 without a context.
GlVersion currentGlVersion();
// Whether the current context's extension string names the extension.
bool hasGlExtension(const char* name);
