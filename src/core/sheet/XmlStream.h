#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "sheet/XlsxPackage.h"

struct XML_ParserStruct;

namespace qrv {

class XmlStream;

// What a part's reader does with its elements. Names are local names, without their prefix, as
// workbooks use several prefixes for the same names. A handler never throws (the parser is C):
// it calls XmlStream::fail instead.
class XmlHandler {
  public:
    virtual ~XmlHandler() = default;
    // `attributes` is the parser's list: name, value, name, value, ..., null.
    virtual void start(XmlStream& stream, std::string_view name, const char** attributes) = 0;
    virtual void end(XmlStream& stream, std::string_view name) = 0;
    virtual void text(XmlStream& stream, std::string_view text) = 0;
};

// A value of `attributes` by local name; nothing when absent.
const char* xmlAttribute(const char** attributes, std::string_view name);

// One part of the package parsed with expat as it inflates, block by block, so that the part never is
// in memory whole. A document type declaration is refused: a workbook never has one, and refusing it
// leaves no room for entity expansion. Elements nested more than 256 deep and a piece of markup over 1 MiB
// are refused too: the parser would keep them in memory.
class XmlStream {
  public:
    XmlStream(const XlsxPackage& package, const std::string& part, std::uint64_t maxBytes,
              XmlHandler& handler);
    XmlStream(const XmlStream&) = delete;
    XmlStream& operator=(const XmlStream&) = delete;
    ~XmlStream();

    // Parses until the handler pauses or the part ends: true when paused, false at the end. Throws
    // SheetError for XML that is not well-formed or a handler's failure.
    bool resume();
    // Parses the whole part.
    void run() {
        while (resume()) {
        }
    }

    // From a handler: stop after this element (resume() goes on from there).
    void pause();
    // From a handler: stop with this failure (resume() throws it).
    void fail(std::string message);
    // From a handler: the rest of the part is not needed.
    void finish();

    const std::string& part() const { return part_; }

  private:
    void check(int status);

    std::unique_ptr<XlsxPackage::Part> input_;
    std::string part_;
    XML_ParserStruct* parser_ = nullptr;
    XmlHandler& handler_;
    std::string block_;
    std::string failure_;
    bool suspended_ = false;
    bool ended_ = false;
    bool lastGiven_ = false;  // the parser was told the part ended
    bool finishing_ = false;
    int depth_ = 0;
    bool event_ = false;            // an element or text came out of the last block
    std::uint64_t quietBytes_ = 0;  // bytes given since the last one did
};

}  // namespace qrv
