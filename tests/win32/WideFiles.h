#pragma once
// A file's bytes read by a UTF-8 name, which may hold any Unicode character
// (the narrow file functions would take it in the system's code page).
#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32/WideText.h"

inline std::string readFile(const std::string& path)
{
    std::ifstream in(wideFromUtf8(path).c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
