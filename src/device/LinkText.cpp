#include "LinkText.h"

std::string OneLine(const std::string& message)
{
    std::string out;
    size_t start = 0;
    while (start < message.size())
    {
        size_t end = message.find("\r\n", start);
        if (end == std::string::npos)
            end = message.size();
        if (end > start)
        {
            if (!out.empty())
                out += "; ";
            out += message.substr(start, end - start);
        }
        start = end + 2;
    }
    return out;
}
