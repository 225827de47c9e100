#pragma once

// A call, or a value of a call, the layer does not implement.  Says so on
// stderr once per call and value, naming both, then goes on (the call does
// nothing); in a build with assertions it stops the program there, so that
// nothing is drawn wrongly without notice.
void reportUnsupported(const char* call, unsigned value);

// How many different call-and-value pairs were reported (for tests).
int unsupportedReports();
