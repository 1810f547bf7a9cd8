#include "sheet/XmlStream.h"

#include <expat.h>

#include "sheet/SheetRow.h"

namespace qrv {
namespace {

constexpr size_t kBlock = 64 * 1024;
// The parser keeps every open element, and holds a tag, comment or other piece of markup whole until it
// ends (text it passes on as it comes): both are bounded far above what a workbook has.
constexpr int kMaxDepth = 256;
constexpr std::uint64_t kMaxMarkupBytes = 1 << 20;

// The name without its prefix ("x:row" -> "row"). Prefixes are not resolved to namespaces: a part uses
// one vocabulary, and resolving every name is a large share of the parsing.
std::string_view localName(const char* name) {
    const std::string_view n(name);
    const size_t colon = n.rfind(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

}  // namespace

const char* xmlAttribute(const char** attributes, std::string_view name) {
    for (const char** a = attributes; a != nullptr && a[0] != nullptr; a += 2) {
        if (localName(a[0]) == name) {
            return a[1];
        }
    }
    return nullptr;
}

XmlStream::XmlStream(const XlsxPackage& package, const std::string& part, std::uint64_t maxBytes,
                     XmlHandler& handler)
    : input_(package.open(part, maxBytes)), part_(part), handler_(handler), block_(kBlock, '\0') {
    parser_ = XML_ParserCreate(nullptr);
    if (parser_ == nullptr) {
        throw std::bad_alloc();
    }
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(
        parser_,
        [](void* self, const XML_Char* name, const XML_Char** attributes) {
            auto* s = static_cast<XmlStream*>(self);
            s->event_ = true;
            if (++s->depth_ > kMaxDepth) {
                s->fail("nests elements more than " + std::to_string(kMaxDepth) +
                        " deep, as no workbook does");
                return;
            }
            s->handler_.start(*s, localName(name), attributes);
        },
        [](void* self, const XML_Char* name) {
            auto* s = static_cast<XmlStream*>(self);
            s->event_ = true;
            --s->depth_;
            s->handler_.end(*s, localName(name));
        });
    XML_SetCharacterDataHandler(parser_, [](void* self, const XML_Char* text, int length) {
        auto* s = static_cast<XmlStream*>(self);
        s->event_ = true;
        s->handler_.text(*s, std::string_view(text, static_cast<size_t>(length)));
    });
    XML_SetStartDoctypeDeclHandler(
        parser_, [](void* self, const XML_Char*, const XML_Char*, const XML_Char*, int) {
            static_cast<XmlStream*>(self)->fail("holds a document type declaration, which no workbook has");
        });
    XML_SetEntityDeclHandler(parser_, [](void* self, const XML_Char*, int, const XML_Char*, int,
                                         const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*) {
        static_cast<XmlStream*>(self)->fail("declares entities, which no workbook does");
    });
}

XmlStream::~XmlStream() {
    XML_ParserFree(parser_);
}

void XmlStream::pause() {
    XML_StopParser(parser_, XML_TRUE);
}

void XmlStream::fail(std::string message) {
    if (failure_.empty()) {
        failure_ = std::move(message);
    }
    XML_StopParser(parser_, XML_FALSE);
}

void XmlStream::finish() {
    finishing_ = true;
    XML_StopParser(parser_, XML_FALSE);
}

void XmlStream::check(int status) {
    if (!failure_.empty()) {
        throw SheetError("The workbook's part \"" + part_ + "\" " + failure_);
    }
    if (finishing_) {
        ended_ = true;
        suspended_ = false;
        return;
    }
    if (status == XML_STATUS_ERROR) {
        throw SheetError("The workbook's part \"" + part_ + "\" is not well-formed XML (line " +
                         std::to_string(XML_GetCurrentLineNumber(parser_)) + ": " +
                         XML_ErrorString(XML_GetErrorCode(parser_)) + ")");
    }
    suspended_ = status == XML_STATUS_SUSPENDED;
}

bool XmlStream::resume() {
    while (!ended_) {
        if (suspended_) {
            check(XML_ResumeParser(parser_));
        } else if (lastGiven_) {
            ended_ = true;
            break;
        } else {
            const size_t n = input_->read(block_.data(), block_.size());
            lastGiven_ = n == 0;
            event_ = false;
            check(XML_Parse(parser_, block_.data(), static_cast<int>(n), lastGiven_));
            // Blocks given without an element or text coming out of them: the parser is holding markup.
            quietBytes_ = event_ ? 0 : quietBytes_ + n;
            if (quietBytes_ > kMaxMarkupBytes) {
                throw SheetError("The workbook's part \"" + part_ +
                                 "\" holds a tag or other markup longer than " +
                                 std::to_string(kMaxMarkupBytes) + " bytes, as no workbook does");
            }
        }
        if (suspended_) {
            return true;
        }
    }
    return false;
}

}  // namespace qrv
