#pragma once
// Files that take the place of another in one step: the new content is
// written to a file of a name nobody else holds beside the file it is to
// replace, then moved over it. The program runs as an administrator in
// folders others may write, so nothing found under a name is ever opened,
// truncated or followed: each file is created anew (CREATE_NEW), and a
// name that is taken, by a file or folder that someone planted or that a
// killed run left, is passed over for the next.
#include <string>

namespace win {

// Creates a new file beside `target` (named target + "." + the process id
// + "-" + a number + ".tmp"), writes the content, flushes it to the disk
// and closes it; `created` receives its path. False when any of it fails,
// and then nothing of the file is left. Counted as a FileWrite, which a
// test may tear (win::FailCallTorn): part of the content is written, then
// the call fails like a write the disk refused.
bool WriteNewFileBeside(const std::string& target, const std::string& content, std::string& created);

// Moves `replacement` over `target`, which keeps its security descriptor
// and its attributes (hidden, system): what an operator set on the file
// stays set after every update. The system's replace call does both; its
// access list and attributes are copied over as well, for file systems
// whose replace call is a plain move. A target that is not there is
// created by a move that replaces nothing; one that is a directory or a
// reparse point is refused. Counted as a FileMove.
bool ReplaceKeepingProtection(const std::string& replacement, const std::string& target);

// For the copy wrapper's torn failure: writes the first half of the
// source's bytes over the target, as a copy cut short leaves it.
void WriteFirstHalfOf(const std::string& source, const std::string& target);

}  // namespace win
