// Writes the layout near the template limit (NearLimitLayout.h) as a
// template file, for timing whole qelctl commands on it:
//   near_limit_template OUT.qel
#include "NearLimitLayout.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: near_limit_template OUT.qel\n");
        return 2;
    }
    const std::vector<uint8_t>& file = NearLimitTemplateFile();
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr || std::fwrite(file.data(), 1, file.size(), out) != file.size() || std::fclose(out) != 0)
    {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
