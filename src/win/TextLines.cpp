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
        for (unsigned long i = 0; i < length; ++i) {
            const char c = static_cast<char>(data[i]);
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
