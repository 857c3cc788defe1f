#include "win/TextLines.h"

#include "win/InjectedFailure.h"
#include "win/ReadChunks.h"

namespace win {

bool ReadFileLines(const std::string& path, const std::function<bool(const std::string& line)>& visit)
{
    if (InjectedFailure(Op::FileRead))
        return false;
    std::string line;
    const bool read = ReadFileInChunks(path, [&](const unsigned char* data, unsigned long length) {
        // The chunk buffer is the thread's own and is read into again by
        // any read a visit makes (hashing a listed file): copied first.
        const std::string chunk(reinterpret_cast<const char*>(data), length);
        for (const char c : chunk) {
            if (c != '\n') {
                line += c;
                continue;
            }
            if (!visit(line)) {
                SetLastError(ERROR_CANCELLED);
                return false;
            }
            line.clear();
        }
        return true;
    });
    if (!read)
        return false;
    return line.empty() || visit(line);
}

}  // namespace win
