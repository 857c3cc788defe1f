#pragma once
// Names the ANSI code page cannot carry, inside the program's paths.
//
// The program keeps its paths in byte strings of the ANSI code page. A run of
// characters of a file or directory name that the code page has no bytes for
// travels inside such a string as its UTF-8 bytes between kWrapStart and
// kWrapEnd, two control characters that no file name can hold. The file
// layer turns such a path into the system's wide characters piece by piece;
// the run log and the report lines show each wrapped run in the code page's
// own form (with "?"), as the system's ANSI calls give the name. A path
// without wrapped runs is exactly the bytes it always was.
#include <string>
#include <vector>

namespace win {

constexpr char kWrapStart = '\x01';
constexpr char kWrapEnd = '\x02';

struct NamePiece {
    std::string bytes;  // code-page bytes, or the UTF-8 of a wrapped run
    bool wrapped = false;
};

// True when the text holds a wrapping character at all.
bool HoldsWrappedRuns(const std::string& text);

// The text cut into its plain and wrapped pieces, in order; empty pieces are
// left out. False when the wrapping characters do not pair up (a start inside
// a run, an end outside one, a run left open): the pieces then read a start
// inside a run and a stray end as nothing, and an open run to the text's end.
bool SplitWrappedRuns(const std::string& text, std::vector<NamePiece>& pieces);

// Builds a name from its characters in order: those the code page carries as
// their code-page bytes, the others as their UTF-8, neighbours in one run.
class WrappedNameBuilder {
public:
    void AddCarried(const std::string& codePageBytes);
    void AddUncarried(const std::string& utf8);
    std::string Finish();

private:
    std::string text_;
    bool open_ = false;
};

}  // namespace win
