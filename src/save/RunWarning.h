#pragma once
#include <string>

// A warning raised during a save run: a box that halts the run until it is
// closed, or, while the program runs unattended and nobody is there to close
// one, a line in the run log (line breaks of the text become blanks). The
// run goes on either way.
void RaiseRunWarning(const std::string& text, const std::string& caption);
