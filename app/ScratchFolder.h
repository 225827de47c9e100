#pragma once
#include <string>

#include "platform/FileClaim.h"

// A private folder under the system's temporary folder for one capture's
// scratch files (the decoded music, FFmpeg's messages).  A file in it is
// claimed for as long as the capture runs, so the folders of captures that
// were killed are known as such: each new one removes them first.
// On success `folder` names the new folder.
bool makeScratchFolder(FileClaim& claim, std::string& folder, std::string& error);

// Removes the folder and everything in it.
void removeScratchFolder(const std::string& folder);
