#include "ConnectString.h"

std::string OneLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    std::string line;
    for (char ch : text) {
        if (ch == '\r')
            continue;
        if (ch == '\n')
            line += " / ";
        else
            line += ch;
    }
    return line;
}
