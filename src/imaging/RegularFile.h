#pragma once

#include <cstdio>
#include <string>

// Opens a file for reading only when it is a regular file. A directory,
// device, pipe or socket is refused at once: reading some of them never
// ends, and opening a pipe waits for a writer. Returns the descriptor, or -1
// with reason set ("no such file or directory", "not a regular file").
int OpenRegularFile(const std::string& path, std::string& reason);
// The same as a stream; null with reason set.
std::FILE* OpenRegularFileStream(const std::string& path, std::string& reason);
