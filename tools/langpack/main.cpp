// torva-langpack SOURCE.utf8.txt OUTPUT.txt
// Converts a language file kept in the sources as UTF-8 with LF line ends into the shipped form:
// UTF-16LE with a byte-order mark and CR LF line ends.

#include "lang/lang_file_writer.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: torva-langpack SOURCE.utf8.txt OUTPUT.txt\n";
        return 2;
    }
    const std::string source = argv[1];
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::cerr << "torva-langpack: cannot read " << source << '\n';
        return 1;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    try {
        torva::writeLanguageFile(argv[2], text);
    } catch (const std::exception& error) {
        std::cerr << "torva-langpack: " << source << ": " << error.what() << '\n';
        return 1;
    }
    return 0;
}
