#pragma once

#include <string>

namespace qrv {

// One example file for a newcomer to try the tool on.
struct ExampleFile {
    std::string name;   // file name inside the examples folder
    std::string bytes;  // content: code page 874 text, CR LF line ends (README.txt is UTF-8)
};

}  // namespace qrv
