// quillmark-baseline: what converting costs a plain C++ program, the yardstick for the
// converter's fixed cost (make bench). It reads the dictionary and the program with the
// standard library, turns Shift-JIS into UTF-8 and back with iconv, converts with the reference
// engine and writes standard output. No checks beyond what it needs to run.
//
//   quillmark-baseline DICTIONARY PROGRAM > OUTPUT
#include <iconv.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "Convert.h"
#include "Dictionary.h"

namespace {

std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsAscii(const std::string& bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// The bytes converted by iconv from one code page to another; empty when it refuses them.
std::string Recode(const std::string& bytes, const char* from, const char* to) {
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return {};
    std::string in = bytes, out(bytes.size() * 2 + 16, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != std::size_t(-1);
    iconv_close(cd);
    if (!ok)
        return {};
    out.resize(out.size() - outLeft);
    return out;
}

// Records `number,"word","comment"` after the header line.
qm::DictionaryTable ParseDictionary(const std::string& text) {
    qm::DictionaryTable table;
    std::size_t start = text.find('\n');
    while (start != std::string::npos && start + 1 < text.size()) {
        const std::size_t end = text.find('\n', start + 1);
        const std::string line =
            text.substr(start + 1, end == std::string::npos ? end : end - start - 1);
        start = end;
        const std::size_t q1 = line.find('"'), q2 = line.find('"', q1 + 1);
        const std::size_t q3 = line.find('"', q2 + 1), q4 = line.find('"', q3 + 1);
        if (q4 == std::string::npos)
            continue;
        table.Append({std::int16_t(std::stoi(line.substr(0, q1 - 1))),
                      line.substr(q1 + 1, q2 - q1 - 1), line.substr(q3 + 1, q4 - q3 - 1)});
    }
    return table;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: quillmark-baseline DICTIONARY PROGRAM > OUTPUT\n";
        return 1;
    }
    const qm::DictionaryTable table = ParseDictionary(Recode(ReadFile(argv[1]), "CP932", "UTF-8"));
    const std::string program = ReadFile(argv[2]);
    const bool ascii = IsAscii(program);
    const std::string text = ascii ? program : Recode(program, "CP932", "UTF-8");
    const std::string converted = qm::ConvertReference(text, table, false);
    // As the converter writes it: a plain-ASCII program's result in UTF-8, others in their own.
    std::cout << (ascii ? converted : Recode(converted, "UTF-8", "CP932"));
    return 0;
}
