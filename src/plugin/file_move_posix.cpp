#include <cstdio>

#include "contest/file_util.h"

namespace stats {

bool MoveReplacing(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;  // atomic replace on POSIX
}

}  // namespace stats
