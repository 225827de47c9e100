#pragma once
#include <string>

#include "platform/FileClaim.h"

// Claims `file` for a capture that writes `target`.  A claim left by a
// capture that no longer runs is taken over, with a notice on stderr.  False,
// with the reason, when another capture holds it or it cannot be made.
bool claimForCapture(FileClaim& claim, const std::string& file, const std::string& target, std::string& error);
