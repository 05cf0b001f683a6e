// The PDF output: the pages of the range copied into a new PDF file, their
// content streams, fonts and images kept byte for byte, so vectors and text
// stay as they are. Objects are renumbered as they are reached from the
// pages; references to pages outside the range and to the source's page
// tree become null. Streams are copied still encoded but decrypted, so an
// encrypted source (opened with its password) gives an unencrypted copy.
// The job's rotation, rounded to a quarter turn, adds to each page's /Rotate.
#include <cmath>
#include <deque>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include <Catalog.h>
#include <Object.h>
#include <PDFDoc.h>
#include <Page.h>
#include <Stream.h>
#include <XRef.h>

#include "engine/document_text.h"
#include "engine/document_writers.h"
#include "engine/written_file.h"

namespace {

// Nesting deeper than this is written as null rather than followed.
constexpr int kMaxNesting = 200;

// A number in PDF syntax: no exponent, no locale.
std::string Real(double value) { return PlainNumber(value, 6); }

std::string Name(const char* name) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = "/";
    for (const char* p = name; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        bool plain = c > 0x20 && c < 0x7F && std::string("#()<>[]{}/%").find(static_cast<char>(c)) == std::string::npos;
        if (plain) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('#');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        }
    }
    return out;
}

std::string HexString(const GooString* text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = "<";
    for (char code : text->toStr()) {
        unsigned char c = static_cast<unsigned char>(code);
        out.push_back(kHex[c >> 4]);
        out.push_back(kHex[c & 15]);
    }
    out.push_back('>');
    return out;
}

std::string Rectangle(const PDFRectangle* box) {
    return "[" + Real(box->x1) + " " + Real(box->y1) + " " + Real(box->x2) + " " + Real(box->y2) + "]";
}

bool HasType(Object& object, const char* type) {
    if (!object.isDict() && !object.isStream()) return false;
    Object value = object.isDict() ? object.dictLookup("Type") : object.streamGetDict()->lookup("Type");
    return value.isName(type);
}

class PdfWriter : public Writer {
public:
    explicit PdfWriter(int extraRotation) : extraRotation_(extraRotation) {}

    bool Begin(const std::string& path, PDFDoc* document, std::string* error) override {
        if (!document || !document->isOk() || !document->getCatalog()) {
            *error = "the PDF could not be read";
            return false;
        }
        // A writer may be started again for another file.
        document_ = document;
        xref_ = document->getXRef();
        sourcePages_.clear();
        numbers_.clear();
        pending_.clear();
        pageNumbers_.clear();
        Catalog* catalog = document->getCatalog();
        for (int i = 1; i <= catalog->getNumPages(); ++i) {
            if (const Ref* ref = catalog->getPageRef(i)) sourcePages_.insert(Key(*ref));
        }
        if (!file_.Open(path)) {
            *error = "cannot create the PDF file";
            return false;
        }
        int major = document->getPDFMajorVersion();
        int minor = document->getPDFMinorVersion();
        if (major < 1 || minor < 0 || minor > 9) {
            major = 1;
            minor = 4;
        } else if (major > 2) {
            major = 2;
            minor = 0;
        }
        file_.Write("%PDF-" + std::to_string(major) + "." + std::to_string(minor) + "\n%\xE2\xE3\xCF\xD3\n");
        // 1 is the catalog and 2 the page tree, both written at the end.
        offsets_.assign(3, 0);
        return true;
    }

    bool AddPage(const PageInput& input, std::string* error) override {
        Catalog* catalog = document_->getCatalog();
        Page* page = input.number >= 1 && input.number <= catalog->getNumPages() ? catalog->getPage(input.number) : nullptr;
        const Ref* ref = page ? catalog->getPageRef(input.number) : nullptr;
        if (!page || !ref) {
            *error = "page " + std::to_string(input.number) + " cannot be read";
            return false;
        }
        int number = NumberOfPage(*ref);
        if (offsets_[number] != 0) {
            *error = "page " + std::to_string(input.number) + " was already written";
            return false;
        }
        Object pageObject = xref_->fetch(*ref);
        std::string body = "<</Type /Page /Parent 2 0 R";
        Object resources;
        if (pageObject.isDict()) {
            Dict* dict = pageObject.getDict();
            for (int i = 0; i < dict->getLength(); ++i) {
                std::string key = dict->getKey(i);
                if (key == "Type" || key == "Parent" || key == "MediaBox" || key == "CropBox" || key == "Rotate" ||
                    key == "B") {
                    continue;
                }
                if (key == "Resources") resources = dict->getValNF(i).copy();
                else body += " " + Name(dict->getKey(i)) + " " + Value(dict->getValNF(i), 0);
            }
        }
        // Inherited attributes are written on the page, whose tree is gone.
        if (resources.isNone() || resources.isNull()) resources = page->getResourceDictObject()->copy();
        if (resources.isDict() || resources.isRef()) body += " /Resources " + Value(resources, 0);
        body += " /MediaBox " + Rectangle(page->getMediaBox());
        if (page->isCropped()) body += " /CropBox " + Rectangle(page->getCropBox());
        int rotation = ((page->getRotate() + extraRotation_) % 360 + 360) % 360;
        if (rotation != 0) body += " /Rotate " + std::to_string(rotation);
        body += ">>";
        WriteObject(number, body);
        pageNumbers_.push_back(number);
        WritePending();
        return true;
    }

    bool End(std::string* error) override {
        if (!file_.IsOpen()) {
            *error = "the PDF file was not started";
            return false;
        }
        std::string info;
        Object infoObject = xref_->getDocInfoNF();
        if (infoObject.isRef() || infoObject.isDict()) info = Value(infoObject, 0);
        if (infoObject.isDict()) {
            int number = NewNumber();
            WriteObject(number, info);
            info = std::to_string(number) + " 0 R";
        }
        WritePending();
        std::string kids;
        for (int number : pageNumbers_) kids += std::to_string(number) + " 0 R ";
        WriteObject(2, "<</Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pageNumbers_.size()) + ">>");
        WriteObject(1, "<</Type /Catalog /Pages 2 0 R>>");
        // Pages that a link named but the range left out: their numbers
        // hold null.
        for (size_t number = 1; number < offsets_.size(); ++number) {
            if (offsets_[number] == 0) WriteObject(static_cast<int>(number), "null");
        }
        long long xrefOffset = file_.Offset();
        std::string table = "xref\n0 " + std::to_string(offsets_.size()) + "\n0000000000 65535 f\r\n";
        for (size_t number = 1; number < offsets_.size(); ++number) {
            std::string offset = std::to_string(offsets_[number]);
            table += std::string(offset.size() < 10 ? 10 - offset.size() : 0, '0') + offset + " 00000 n\r\n";
        }
        table += "trailer\n<</Size " + std::to_string(offsets_.size()) + " /Root 1 0 R";
        if (info.find(" 0 R") != std::string::npos) table += " /Info " + info;
        table += ">>\nstartxref\n" + std::to_string(xrefOffset) + "\n%%EOF\n";
        file_.Write(table);
        if (!file_.Close()) {
            *error = "the PDF file could not be written";
            return false;
        }
        return true;
    }

private:
    using RefKey = std::pair<int, int>;
    static RefKey Key(const Ref& ref) { return {ref.num, ref.gen}; }

    int NewNumber() {
        offsets_.push_back(0);
        return static_cast<int>(offsets_.size() - 1);
    }

    int NumberOfPage(const Ref& ref) {
        auto found = numbers_.find(Key(ref));
        if (found != numbers_.end()) return found->second;
        int number = NewNumber();
        numbers_[Key(ref)] = number;
        return number;
    }

    // The reference to a source object in the new file: a page of the
    // source keeps a number of its own (null unless the range holds it);
    // the page tree and the catalog are not copied; any other object is
    // queued to be written.
    std::string Reference(const Ref& ref) {
        auto found = numbers_.find(Key(ref));
        if (found == numbers_.end()) {
            if (sourcePages_.count(Key(ref))) {
                NumberOfPage(ref);
            } else {
                Object target = xref_->fetch(ref);
                if (HasType(target, "Pages") || HasType(target, "Catalog") || HasType(target, "Page")) {
                    numbers_[Key(ref)] = 0;
                } else {
                    int number = NewNumber();
                    numbers_[Key(ref)] = number;
                    pending_.emplace_back(number, std::move(target));
                }
            }
            found = numbers_.find(Key(ref));
        }
        return found->second ? std::to_string(found->second) + " 0 R" : "null";
    }

    std::string Value(const Object& object, int depth) {
        if (depth > kMaxNesting) return "null";
        switch (object.getType()) {
        case objBool: return object.getBool() ? "true" : "false";
        case objInt: return std::to_string(object.getInt());
        case objInt64: return std::to_string(object.getInt64());
        case objReal: return Real(object.getReal());
        case objString: return HexString(object.getString());
        case objHexString: return HexString(object.getHexString());
        case objName: return Name(object.getName());
        case objRef: return Reference(object.getRef());
        case objArray: {
            std::string out = "[";
            for (int i = 0; i < object.arrayGetLength(); ++i) {
                if (i) out += " ";
                out += Value(object.arrayGetNF(i), depth + 1);
            }
            return out + "]";
        }
        case objDict: {
            std::string out = "<<";
            for (int i = 0; i < object.dictGetLength(); ++i) {
                out += Name(object.dictGetKey(i)) + " " + Value(object.dictGetValNF(i), depth + 1) + " ";
            }
            return out + ">>";
        }
        default: return "null";  // null, and what cannot stand in a file (a stream not on its own)
        }
    }

    void WriteObject(int number, const std::string& body) {
        offsets_[number] = file_.Offset();
        file_.Write(std::to_string(number) + " 0 obj\n" + body + "\nendobj\n");
    }

    void WriteStream(int number, Stream* stream) {
        Dict* dict = stream->getDict();
        std::string head = std::to_string(number) + " 0 obj\n<<";
        for (int i = 0; i < dict->getLength(); ++i) {
            if (std::string(dict->getKey(i)) == "Length") continue;
            head += Name(dict->getKey(i)) + " " + Value(dict->getValNF(i), 1) + " ";
        }
        int lengthNumber = NewNumber();
        head += "/Length " + std::to_string(lengthNumber) + " 0 R>>\nstream\n";
        offsets_[number] = file_.Offset();
        file_.Write(head);
        // The bytes below the decoding filters: the stored data, decrypted
        // when the source is encrypted.
        Stream* source = stream;
        while (source->getKind() != strCrypt && source->getNextStream()) source = source->getNextStream();
        source->reset();
        long long length = 0;
        unsigned char chunk[65536];
        int got;
        while ((got = source->doGetChars(sizeof chunk, chunk)) > 0) {
            file_.Write(reinterpret_cast<const char*>(chunk), static_cast<size_t>(got));
            length += got;
        }
        source->close();
        file_.Write("\nendstream\nendobj\n");
        WriteObject(lengthNumber, std::to_string(length));
    }

    void WritePending() {
        while (!pending_.empty()) {
            std::pair<int, Object> next = std::move(pending_.front());
            pending_.pop_front();
            if (next.second.isStream()) WriteStream(next.first, next.second.getStream());
            else WriteObject(next.first, Value(next.second, 0));
        }
    }

    int extraRotation_;
    PDFDoc* document_ = nullptr;
    XRef* xref_ = nullptr;
    WrittenFile file_;
    std::set<RefKey> sourcePages_;
    std::map<RefKey, int> numbers_;      // 0: written as null
    std::vector<long long> offsets_;     // by new object number; 0 while unwritten
    std::deque<std::pair<int, Object>> pending_;
    std::vector<int> pageNumbers_;
};

}  // namespace

std::unique_ptr<Writer> MakePdfWriter(const OutputOptions& options) {
    return std::make_unique<PdfWriter>(QuarterTurnDegrees(options));
}
