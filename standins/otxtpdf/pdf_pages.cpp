// The page counter: finds the catalog through the cross-reference data
// (classic tables, cross-reference streams, object streams, incremental
// updates by their /Prev chain) and counts the leaves of the page tree.
// When that data is damaged it rebuilds the object table by scanning the
// file, and as a last resort counts the page objects it found.
//
// Every step is bounded: the bytes read from the file, the bytes inflated,
// the objects loaded, the depth of nested objects and of the page tree; a
// cycle in the page tree or in the /Prev chain ends that path. What runs out
// of budget gives -1, never a long wait or a large allocation.
#include "standins/otxtpdf/pdf_pages.h"

#include <zlib.h>

#include "standins/otxtpdf/pdf_crypt.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

// Budgets per file.
const uint64_t kMaxBytesRead = 256u << 20;        // from the file, all reads together
const size_t kMaxStreamBytes = 16u << 20;         // one stream's raw data
const size_t kMaxInflatedStream = 16u << 20;      // one stream inflated
const uint64_t kMaxInflatedTotal = 256u << 20;    // all streams inflated
const size_t kMaxObjects = 2000000;               // entries of the object table
const size_t kMaxObjectWindow = 4u << 20;         // text of one object's dictionary
const int kMaxDepth = 64;                         // nesting of arrays and dictionaries
const size_t kMaxElements = 500000;               // items of arrays and dictionaries in one object
const size_t kMaxHeldKids = 1000000;              // kids held by the levels of a tree walk
const int kMaxTreeDepth = 256;                    // levels of the page tree
const int kMaxXrefSections = 256;                 // sections of a /Prev chain
const uint64_t kMaxObjectLoads = 4000000;         // objects parsed
const uint64_t kMaxPages = 20000000;              // leaves counted
const uint32_t kMaxObjectNumber = 50000000;       // beyond any real file
const size_t kTail = 4096;                        // where startxref is looked for
const size_t kCachedObjectStreams = 4;
const size_t kMaxStringKept = 512;                // bytes of a string kept

bool IsWhite(int c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == 0;
}

bool IsDelimiter(int c) {
    return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
           c == '}' || c == '/' || c == '%';
}

bool IsRegular(int c) { return c >= 0 && !IsWhite(c) && !IsDelimiter(c); }

bool IsDigit(int c) { return c >= '0' && c <= '9'; }

// The bytes of the file, or of a buffer, read with one budget for the file.
struct Input {
    FILE* file = nullptr;
    const unsigned char* data = nullptr;
    uint64_t size = 0;
    uint64_t budget = kMaxBytesRead;
    bool exhausted = false;  // a read was refused for the budget
};

bool ReadAt(Input& in, uint64_t offset, size_t length, std::string& out) {
    out.clear();
    if (offset >= in.size) return true;
    if (length > in.size - offset) length = static_cast<size_t>(in.size - offset);
    if (length > in.budget) {
        in.exhausted = true;
        return false;
    }
    in.budget -= length;
    if (in.data) {
        out.assign(reinterpret_cast<const char*>(in.data + offset), length);
        return true;
    }
#ifdef _WIN32
    if (_fseeki64(in.file, static_cast<__int64>(offset), SEEK_SET) != 0) return false;
#else
    if (fseeko(in.file, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
#endif
    out.resize(length);
    size_t got = std::fread(&out[0], 1, length, in.file);
    out.resize(got);
    return got == length;
}

// A PDF object as far as counting pages needs it. Strings keep their first
// bytes only (the /Encrypt values and /ID are short).
struct Obj {
    enum Type { kNone, kNull, kBool, kInt, kReal, kString, kName, kArray, kDict, kRef };
    Type type = kNone;
    int64_t number = 0;             // kInt, kBool, kRef (object number)
    int generation = 0;             // kRef
    std::string name;               // kName; kString: its bytes
    std::vector<std::string> keys;  // kDict: keys[i] names items[i]
    std::vector<Obj> items;         // kArray, kDict

    const Obj* Get(const char* key) const {
        for (size_t i = 0; i < keys.size(); i++)
            if (keys[i] == key) return &items[i];
        return nullptr;
    }
    bool IsName(const char* text) const { return type == kName && name == text; }
};

// Tokens over a window of bytes. The window is either a whole buffer
// (inflated object streams) or a part of the file that grows on demand up to
// a limit; running past the window is "incomplete", not an error, so the
// caller can retry with a larger window.
struct Lexer {
    const std::string* text;
    size_t pos;
    bool incomplete = false;
    size_t elements = 0;  // items parsed, against kMaxElements

    int Peek() const { return pos < text->size() ? static_cast<unsigned char>((*text)[pos]) : -1; }

    void SkipWhite() {
        for (;;) {
            int c = Peek();
            if (c < 0) return;
            if (IsWhite(c)) {
                pos++;
            } else if (c == '%') {
                while (pos < text->size() && (*text)[pos] != '\n' && (*text)[pos] != '\r') pos++;
            } else {
                return;
            }
        }
    }

    // A keyword or number token starting here, without consuming it.
    std::string PeekWord() {
        SkipWhite();
        size_t end = pos;
        while (end < text->size() && IsRegular(static_cast<unsigned char>((*text)[end]))) end++;
        if (end == text->size()) incomplete = true;
        return text->substr(pos, end - pos);
    }

    bool ReadInteger(int64_t& value) {
        std::string word = PeekWord();
        if (word.empty() || word.size() > 18) return false;
        size_t i = 0;
        bool negative = false;
        if (word[0] == '-' || word[0] == '+') {
            negative = word[0] == '-';
            i = 1;
        }
        if (i == word.size()) return false;
        int64_t v = 0;
        for (; i < word.size(); i++) {
            if (!IsDigit(word[i])) return false;
            v = v * 10 + (word[i] - '0');
        }
        value = negative ? -v : v;
        pos += word.size();
        return true;
    }

    bool Keyword(const char* word) {
        if (PeekWord() != word) return false;
        pos += std::strlen(word);
        return true;
    }
};

bool ParseObject(Lexer& lex, Obj& out, int depth);

bool ParseNumberOrRef(Lexer& lex, Obj& out) {
    std::string word = lex.PeekWord();
    bool digits = false, integer = true;
    for (size_t i = 0; i < word.size(); i++) {
        char c = word[i];
        if (IsDigit(c))
            digits = true;
        else if (c == '.' || ((c == '-' || c == '+') && i > 0))
            integer = false;  // a real, or junk readers take as one
        else if (c != '-' && c != '+')
            return false;
    }
    if (word.empty()) return false;
    lex.pos += word.size();
    if (!integer || !digits || word.size() > 18) {
        out.type = Obj::kReal;
        return true;
    }
    int64_t value = std::strtoll(word.c_str(), nullptr, 10);
    out.type = Obj::kInt;
    out.number = value;
    // "num gen R" is a reference; look ahead without committing.
    if (value < 0 || value > kMaxObjectNumber) return true;
    size_t save = lex.pos;
    int64_t gen;
    if (lex.ReadInteger(gen) && gen >= 0 && gen <= 65535 && lex.Keyword("R")) {
        out.type = Obj::kRef;
        out.generation = static_cast<int>(gen);
        return true;
    }
    lex.pos = save;
    return true;
}

int HexValue(int c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void Keep(Obj& out, int c) {
    if (out.name.size() < kMaxStringKept) out.name += static_cast<char>(c);
}

bool ParseLiteralString(Lexer& lex, Obj& out) {
    out.type = Obj::kString;
    lex.pos++;  // '('
    int nesting = 1;
    const std::string& t = *lex.text;
    while (lex.pos < t.size()) {
        int c = static_cast<unsigned char>(t[lex.pos++]);
        if (c == '(') {
            nesting++;
        } else if (c == ')' && --nesting == 0) {
            return true;
        } else if (c == '\\') {
            if (lex.pos >= t.size()) break;
            c = static_cast<unsigned char>(t[lex.pos++]);
            if (c >= '0' && c <= '7') {
                int value = c - '0';
                for (int digits = 1; digits < 3 && lex.pos < t.size() && t[lex.pos] >= '0' && t[lex.pos] <= '7'; digits++)
                    value = value * 8 + (t[lex.pos++] - '0');
                c = value & 0xff;
            } else if (c == '\r' || c == '\n') {
                if (c == '\r' && lex.pos < t.size() && t[lex.pos] == '\n') lex.pos++;
                continue;  // a line continuation
            } else {
                const char* from = "nrtbf";
                const char* to = "\n\r\t\b\f";
                const char* at = std::strchr(from, c);
                if (at && c) c = to[at - from];
            }
        }
        Keep(out, c);
    }
    lex.incomplete = true;
    return false;
}

bool ParseHexString(Lexer& lex, Obj& out) {
    out.type = Obj::kString;
    size_t end = lex.text->find('>', lex.pos);
    if (end == std::string::npos) {
        lex.incomplete = true;
        return false;
    }
    int high = -1;
    for (size_t i = lex.pos + 1; i < end; i++) {
        int value = HexValue(static_cast<unsigned char>((*lex.text)[i]));
        if (value < 0) continue;
        if (high < 0) {
            high = value;
        } else {
            Keep(out, high * 16 + value);
            high = -1;
        }
    }
    if (high >= 0) Keep(out, high * 16);
    lex.pos = end + 1;
    return true;
}

bool ParseName(Lexer& lex, Obj& out) {
    lex.pos++;  // '/'
    out.type = Obj::kName;
    while (lex.pos < lex.text->size()) {
        int c = static_cast<unsigned char>((*lex.text)[lex.pos]);
        if (!IsRegular(c)) return true;
        lex.pos++;
        if (c == '#' && lex.pos + 1 < lex.text->size()) {
            char hex[3] = {(*lex.text)[lex.pos], (*lex.text)[lex.pos + 1], 0};
            char* end;
            long value = std::strtol(hex, &end, 16);
            if (end == hex + 2) {
                c = static_cast<int>(value);
                lex.pos += 2;
            }
        }
        if (out.name.size() < 127) out.name += static_cast<char>(c);
    }
    lex.incomplete = true;
    return false;
}

// Parses the items of an array or a dictionary up to its closing bracket.
bool ParseContainer(Lexer& lex, Obj& out, int depth, bool dict) {
    out.type = dict ? Obj::kDict : Obj::kArray;
    for (;;) {
        lex.SkipWhite();
        int c = lex.Peek();
        if (c < 0) {
            lex.incomplete = true;
            return false;
        }
        if (!dict && c == ']') {
            lex.pos++;
            return true;
        }
        if (dict && c == '>') {
            if (lex.pos + 1 >= lex.text->size()) {
                lex.incomplete = true;
                return false;
            }
            if ((*lex.text)[lex.pos + 1] != '>') return false;
            lex.pos += 2;
            return true;
        }
        if (dict) {
            Obj key;
            if (c != '/' || !ParseName(lex, key)) return false;
            out.keys.push_back(key.name);
        }
        if (++lex.elements > kMaxElements) return false;
        out.items.emplace_back();
        if (!ParseObject(lex, out.items.back(), depth + 1)) return false;
    }
}

bool ParseObject(Lexer& lex, Obj& out, int depth) {
    if (depth > kMaxDepth) return false;
    lex.SkipWhite();
    int c = lex.Peek();
    if (c < 0) {
        lex.incomplete = true;
        return false;
    }
    if (c == '/') return ParseName(lex, out);
    if (c == '(') return ParseLiteralString(lex, out);
    if (c == '[') {
        lex.pos++;
        return ParseContainer(lex, out, depth, false);
    }
    if (c == '<') {
        if (lex.pos + 1 >= lex.text->size()) {
            lex.incomplete = true;
            return false;
        }
        if ((*lex.text)[lex.pos + 1] == '<') {
            lex.pos += 2;
            return ParseContainer(lex, out, depth, true);
        }
        return ParseHexString(lex, out);
    }
    if (IsDigit(c) || c == '-' || c == '+' || c == '.') return ParseNumberOrRef(lex, out);
    std::string word = lex.PeekWord();
    if (word == "true" || word == "false") {
        out.type = Obj::kBool;
        out.number = word == "true";
    } else if (word == "null") {
        out.type = Obj::kNull;
    } else {
        return false;
    }
    lex.pos += word.size();
    return true;
}

struct XrefEntry {
    uint8_t type = 0;         // 0 free, 1 at an offset, 2 in an object stream
    uint64_t offset = 0;      // type 1: file offset; type 2: object stream number
    uint32_t index = 0;       // type 2: index in the object stream
};

struct ObjectStream {
    std::string data;
    std::unordered_map<uint32_t, size_t> offsets;  // object number -> offset in data
};

// One file being counted.
struct Pdf {
    Input in;
    std::unordered_map<uint32_t, XrefEntry> xref;
    std::vector<Obj> trailers;  // newest first
    std::unordered_map<uint64_t, ObjectStream> streams;
    uint64_t inflatedBudget = kMaxInflatedTotal;
    uint64_t loads = 0;
    int resolveDepth = 0;
    bool headerMismatch = false;  // an xref offset pointed at another object
    bool overLimit = false;       // a page tree walk ran out of a budget
    // The decryption of object streams, set up when the first one is read:
    // revision 6's key derivation is slow, and most files never need it.
    PdfEncryption encryption;
    bool encrypted = false;
    bool cryptTried = false;
    bool needsPassword = false;  // no key without a password
    PdfDecryptor crypt;
};

bool SameEncryption(const PdfEncryption& a, const PdfEncryption& b) {
    return a.filter == b.filter && a.v == b.v && a.r == b.r && a.lengthBits == b.lengthBits && a.p == b.p &&
           a.o == b.o && a.u == b.u && a.ue == b.ue && a.encryptMetadata == b.encryptMetadata &&
           a.streamMethod == b.streamMethod && a.id == b.id;
}

bool Decrypt(Pdf& pdf, uint32_t num, uint32_t gen, std::string& data) {
    if (!pdf.encrypted) return true;
    if (!pdf.cryptTried) {
        pdf.cryptTried = true;
        pdf.needsPassword = !SetUpPdfDecryptor(pdf.encryption, pdf.crypt);
    }
    return !pdf.needsPassword && DecryptPdfStream(pdf.crypt, num, gen, data);
}

// The indirect object at offset: "num gen obj" and its value. streamStart
// receives the offset of the stream data when a stream follows.
bool ReadIndirect(Pdf& pdf, uint64_t offset, uint32_t expect, Obj& out, uint64_t* streamStart,
                  uint32_t* generation = nullptr) {
    if (++pdf.loads > kMaxObjectLoads) return false;
    size_t window = 1024;
    std::string text;
    for (;;) {
        if (!ReadAt(pdf.in, offset, window, text) || text.empty()) return false;
        bool atEnd = offset + text.size() >= pdf.in.size;
        Lexer lex{&text, 0};
        int64_t num, gen;
        if (!lex.ReadInteger(num) || !lex.ReadInteger(gen) || !lex.Keyword("obj") ||
            num != static_cast<int64_t>(expect) || gen < 0 || gen > 65535) {
            // The offset does not lead to this object: the table is wrong.
            pdf.headerMismatch = true;
            return false;
        }
        if (generation) *generation = static_cast<uint32_t>(gen);
        out = Obj();
        bool ok = ParseObject(lex, out, 0);
        if (ok && streamStart) {
            *streamStart = 0;
            if (out.type == Obj::kDict && lex.Keyword("stream")) {
                if (lex.Peek() == '\r') lex.pos++;
                if (lex.Peek() == '\n') lex.pos++;
                *streamStart = offset + lex.pos;
            }
        }
        // A look-ahead that ran off the window may have cut a token short.
        if (ok && lex.incomplete && !atEnd) ok = false;
        if (ok) return true;
        if (!lex.incomplete || atEnd || window >= kMaxObjectWindow) return false;
        window *= 4;
    }
}

bool Resolve(Pdf& pdf, const Obj& ref, Obj& out);

// A value that may be a reference, resolved; false when it cannot be.
bool Value(Pdf& pdf, const Obj* value, Obj& out) {
    if (!value) return false;
    if (value->type != Obj::kRef) {
        out = *value;
        return true;
    }
    return Resolve(pdf, *value, out);
}

bool IntValue(Pdf& pdf, const Obj* value, int64_t& out) {
    Obj v;
    if (!Value(pdf, value, v) || v.type != Obj::kInt) return false;
    out = v.number;
    return true;
}

bool Inflate(Pdf& pdf, const std::string& raw, std::string& out) {
    z_stream z;
    std::memset(&z, 0, sizeof z);
    if (inflateInit(&z) != Z_OK) return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.data()));
    z.avail_in = static_cast<uInt>(raw.size());
    size_t limit = kMaxInflatedStream;
    if (limit > pdf.inflatedBudget) limit = static_cast<size_t>(pdf.inflatedBudget);
    out.clear();
    unsigned char chunk[16384];
    int status = Z_OK;
    bool tooLarge = false;
    while (status == Z_OK) {
        z.next_out = chunk;
        z.avail_out = sizeof chunk;
        status = inflate(&z, Z_NO_FLUSH);
        size_t produced = sizeof chunk - z.avail_out;
        if (out.size() + produced > limit) {
            tooLarge = true;
            break;
        }
        out.append(reinterpret_cast<char*>(chunk), produced);
        if (status == Z_BUF_ERROR && produced > 0) status = Z_OK;
    }
    inflateEnd(&z);
    pdf.inflatedBudget -= out.size();
    // A damaged end still leaves what inflated before it usable, as
    // readers commonly treat it.
    return !tooLarge && (status == Z_STREAM_END || !out.empty());
}

// Undoes the PNG predictors (10 to 15) that cross-reference streams use.
bool Unpredict(std::string& data, int64_t columns, int64_t colors, int64_t bits) {
    if (columns < 1 || colors < 1 || colors > 32 || (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16))
        return false;
    if (columns > (1 << 20)) return false;
    size_t bpp = static_cast<size_t>((colors * bits + 7) / 8);
    size_t rowBytes = static_cast<size_t>((columns * colors * bits + 7) / 8);
    if (rowBytes >= data.size()) return false;
    std::string out;
    std::vector<unsigned char> previous(rowBytes, 0), row(rowBytes);
    for (size_t at = 0; at + 1 + rowBytes <= data.size(); at += rowBytes + 1) {
        int filter = static_cast<unsigned char>(data[at]);
        for (size_t i = 0; i < rowBytes; i++) {
            int x = static_cast<unsigned char>(data[at + 1 + i]);
            int a = i >= bpp ? row[i - bpp] : 0;
            int b = previous[i];
            int c = i >= bpp ? previous[i - bpp] : 0;
            switch (filter) {
            case 0: break;
            case 1: x += a; break;
            case 2: x += b; break;
            case 3: x += (a + b) / 2; break;
            case 4: {
                int p = a + b - c;
                int pa = p > a ? p - a : a - p, pb = p > b ? p - b : b - p, pc = p > c ? p - c : c - p;
                x += (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
                break;
            }
            default: return false;
            }
            row[i] = static_cast<unsigned char>(x);
        }
        out.append(reinterpret_cast<char*>(row.data()), rowBytes);
        previous.swap(row);
    }
    data.swap(out);
    return true;
}

// The decoded data of the stream whose dictionary is dict and whose data
// starts at start. Only FlateDecode (with PNG predictors) or no filter.
// An encrypted file's streams are decrypted with the key of object num,
// generation gen, except cross-reference streams (num 0), which never are.
bool StreamData(Pdf& pdf, const Obj& dict, uint64_t start, std::string& out, uint32_t num = 0, uint32_t gen = 0) {
    if (start == 0 || start >= pdf.in.size) return false;
    int64_t length = -1;
    if (!IntValue(pdf, dict.Get("Length"), length) || length < 0 ||
        static_cast<uint64_t>(length) > pdf.in.size - start) {
        // A missing or wrong /Length: the data runs to "endstream".
        std::string window;
        uint64_t limit = pdf.in.size - start;
        if (limit > kMaxStreamBytes) limit = kMaxStreamBytes;
        if (!ReadAt(pdf.in, start, static_cast<size_t>(limit), window)) return false;
        size_t end = window.find("endstream");
        if (end == std::string::npos) return false;
        length = static_cast<int64_t>(end);
    }
    if (static_cast<uint64_t>(length) > kMaxStreamBytes) return false;
    std::string raw;
    if (!ReadAt(pdf.in, start, static_cast<size_t>(length), raw)) return false;
    if (num != 0 && !Decrypt(pdf, num, gen, raw)) return false;

    Obj filter;
    const Obj* filterEntry = dict.Get("Filter");
    if (!filterEntry) {
        out.swap(raw);
        return true;
    }
    if (!Value(pdf, filterEntry, filter)) return false;
    if (filter.type == Obj::kArray && filter.items.size() == 1) {
        Obj only = filter.items[0];
        filter = only;
    }
    if (!filter.IsName("FlateDecode") && !filter.IsName("Fl")) return false;
    if (!Inflate(pdf, raw, out)) return false;

    Obj parms;
    const Obj* parmsEntry = dict.Get("DecodeParms");
    if (!parmsEntry || !Value(pdf, parmsEntry, parms)) return true;
    if (parms.type == Obj::kArray && parms.items.size() == 1) {
        Obj only = parms.items[0];
        parms = only;
    }
    if (parms.type != Obj::kDict) return true;
    int64_t predictor = 1, columns = 1, colors = 1, bits = 8;
    IntValue(pdf, parms.Get("Predictor"), predictor);
    IntValue(pdf, parms.Get("Columns"), columns);
    IntValue(pdf, parms.Get("Colors"), colors);
    IntValue(pdf, parms.Get("BitsPerComponent"), bits);
    if (predictor == 1) return true;
    if (predictor < 10) return false;
    return Unpredict(out, columns, colors, bits);
}

// The object stream numbered num, decoded and indexed, from the cache.
ObjectStream* LoadObjectStream(Pdf& pdf, uint64_t num) {
    auto found = pdf.streams.find(num);
    if (found != pdf.streams.end()) return &found->second;
    auto entry = pdf.xref.find(static_cast<uint32_t>(num));
    if (entry == pdf.xref.end() || entry->second.type != 1) return nullptr;
    Obj dict;
    uint64_t start = 0;
    uint32_t gen = 0;
    if (!ReadIndirect(pdf, entry->second.offset, static_cast<uint32_t>(num), dict, &start, &gen)) return nullptr;
    int64_t count = 0, first = 0;
    if (dict.type != Obj::kDict || !IntValue(pdf, dict.Get("N"), count) ||
        !IntValue(pdf, dict.Get("First"), first) || count < 0 || first < 0)
        return nullptr;
    ObjectStream stream;
    if (!StreamData(pdf, dict, start, stream.data, static_cast<uint32_t>(num), gen)) return nullptr;
    if (static_cast<uint64_t>(first) > stream.data.size()) return nullptr;
    Lexer lex{&stream.data, 0};
    for (int64_t i = 0; i < count; i++) {
        int64_t objnum, at;
        if (!lex.ReadInteger(objnum) || !lex.ReadInteger(at)) break;
        if (lex.pos > static_cast<size_t>(first)) break;
        if (objnum < 0 || objnum > kMaxObjectNumber || at < 0 ||
            static_cast<uint64_t>(at) > stream.data.size() - static_cast<uint64_t>(first))
            continue;
        if (stream.offsets.size() >= kMaxObjects) break;
        stream.offsets.emplace(static_cast<uint32_t>(objnum), static_cast<size_t>(first + at));
    }
    if (pdf.streams.size() >= kCachedObjectStreams) pdf.streams.clear();
    return &pdf.streams.emplace(num, std::move(stream)).first->second;
}

bool Resolve(Pdf& pdf, const Obj& ref, Obj& out) {
    if (ref.type != Obj::kRef || ref.number < 0 || ref.number > kMaxObjectNumber) return false;
    uint32_t num = static_cast<uint32_t>(ref.number);
    auto entry = pdf.xref.find(num);
    if (entry == pdf.xref.end() || pdf.resolveDepth > 8) return false;
    XrefEntry e = entry->second;
    pdf.resolveDepth++;
    bool ok = false;
    if (e.type == 1) {
        ok = ReadIndirect(pdf, e.offset, num, out, nullptr);
    } else if (e.type == 2 && e.offset != num) {
        ObjectStream* stream = LoadObjectStream(pdf, e.offset);
        if (stream && ++pdf.loads <= kMaxObjectLoads) {
            auto at = stream->offsets.find(num);
            if (at != stream->offsets.end()) {
                Lexer lex{&stream->data, at->second};
                out = Obj();
                ok = ParseObject(lex, out, 0);
            }
        }
    }
    pdf.resolveDepth--;
    return ok;
}

void AddEntry(Pdf& pdf, int64_t num, const XrefEntry& e) {
    if (num < 0 || num > kMaxObjectNumber) return;
    auto found = pdf.xref.find(static_cast<uint32_t>(num));
    // The newest section wins; a free entry there does not hide an older one
    // (a deleted object is not reachable from the newer tree anyway).
    if (found == pdf.xref.end()) {
        if (pdf.xref.size() < kMaxObjects) pdf.xref.emplace(static_cast<uint32_t>(num), e);
    } else if (found->second.type == 0) {
        found->second = e;
    }
}

// A classic table at offset ("xref" already checked) and its trailer.
bool ReadXrefTable(Pdf& pdf, uint64_t offset, Obj& trailer) {
    std::string text;
    size_t window = 65536;
    for (;;) {
        if (!ReadAt(pdf.in, offset, window, text)) return false;
        bool atEnd = offset + text.size() >= pdf.in.size;
        Lexer lex{&text, 0};
        lex.Keyword("xref");
        std::vector<std::pair<int64_t, XrefEntry>> entries;
        bool ok = true;
        for (;;) {
            int64_t first, count;
            size_t save = lex.pos;
            if (!lex.ReadInteger(first) || !lex.ReadInteger(count)) {
                lex.pos = save;
                break;
            }
            if (first < 0 || count < 0 || count > static_cast<int64_t>(kMaxObjects) ||
                entries.size() > kMaxObjects) {
                ok = false;
                break;
            }
            for (int64_t i = 0; i < count && ok; i++) {
                int64_t at, gen;
                if (!lex.ReadInteger(at) || !lex.ReadInteger(gen)) {
                    ok = false;
                    break;
                }
                XrefEntry e;
                if (lex.Keyword("n")) {
                    e.type = 1;
                    e.offset = static_cast<uint64_t>(at < 0 ? 0 : at);
                } else if (!lex.Keyword("f")) {
                    ok = false;
                    break;
                }
                entries.emplace_back(first + i, e);
            }
            if (!ok) break;
        }
        if (ok && lex.Keyword("trailer")) {
            trailer = Obj();
            if (ParseObject(lex, trailer, 0) && trailer.type == Obj::kDict) {
                for (auto& entry : entries) {
                    // An offset past the end cannot be right; leaving it
                    // out lets an older section's entry stand.
                    if (entry.second.type == 1 && entry.second.offset >= pdf.in.size) continue;
                    AddEntry(pdf, entry.first, entry.second);
                }
                return true;
            }
        }
        if (!lex.incomplete || atEnd || window >= (64u << 20)) return false;
        window *= 4;
    }
}

// A cross-reference stream at offset: its entries, and its dictionary as
// the trailer.
bool ReadXrefStream(Pdf& pdf, uint64_t offset, Obj& trailer) {
    uint64_t start = 0;
    std::string text;
    if (!ReadAt(pdf.in, offset, 64, text)) return false;
    Lexer lex{&text, 0};
    int64_t num;
    if (!lex.ReadInteger(num) || num < 0 || num > kMaxObjectNumber) return false;
    if (!ReadIndirect(pdf, offset, static_cast<uint32_t>(num), trailer, &start)) return false;
    const Obj* type = trailer.Get("Type");
    if (trailer.type != Obj::kDict || !type || !type->IsName("XRef")) return false;
    // The stream's own /Length may only be known through this stream.
    std::string data;
    if (!StreamData(pdf, trailer, start, data)) return false;
    const Obj* w = trailer.Get("W");
    if (!w || w->type != Obj::kArray || w->items.size() < 3) return false;
    int widths[3];
    size_t rowBytes = 0;
    for (int i = 0; i < 3; i++) {
        if (w->items[i].type != Obj::kInt || w->items[i].number < 0 || w->items[i].number > 8) return false;
        widths[i] = static_cast<int>(w->items[i].number);
        rowBytes += static_cast<size_t>(widths[i]);
    }
    if (rowBytes == 0) return false;
    std::vector<int64_t> index;
    const Obj* indexEntry = trailer.Get("Index");
    if (indexEntry && indexEntry->type == Obj::kArray) {
        for (const Obj& item : indexEntry->items)
            if (item.type == Obj::kInt) index.push_back(item.number);
    } else {
        int64_t size = 0;
        if (!IntValue(pdf, trailer.Get("Size"), size)) return false;
        index.push_back(0);
        index.push_back(size);
    }
    size_t at = 0;
    for (size_t s = 0; s + 1 < index.size(); s += 2) {
        int64_t first = index[s], count = index[s + 1];
        if (first < 0 || count < 0) return false;
        for (int64_t i = 0; i < count && at + rowBytes <= data.size(); i++) {
            uint64_t field[3];
            for (int f = 0; f < 3; f++) {
                field[f] = 0;
                for (int b = 0; b < widths[f]; b++) field[f] = (field[f] << 8) | static_cast<unsigned char>(data[at++]);
            }
            if (widths[0] == 0) field[0] = 1;
            XrefEntry e;
            if (field[0] == 1) {
                if (field[1] >= pdf.in.size) continue;
                e.type = 1;
                e.offset = field[1];
            } else if (field[0] == 2) {
                e.type = 2;
                e.offset = field[1];
                e.index = static_cast<uint32_t>(field[2]);
            } else if (field[0] != 0) {
                continue;  // a type readers ignore
            }
            AddEntry(pdf, first + i, e);
        }
    }
    return true;
}

bool ReadXrefSection(Pdf& pdf, uint64_t offset, Obj& trailer) {
    std::string head;
    if (!ReadAt(pdf.in, offset, 16, head)) return false;
    Lexer lex{&head, 0};
    if (lex.PeekWord() == "xref") return ReadXrefTable(pdf, offset, trailer);
    return ReadXrefStream(pdf, offset, trailer);
}

// Follows startxref and the /Prev chain. False when the chain is broken at
// its start.
bool ReadXrefChain(Pdf& pdf) {
    uint64_t tailStart = pdf.in.size > kTail ? pdf.in.size - kTail : 0;
    std::string tail;
    if (!ReadAt(pdf.in, tailStart, kTail, tail)) return false;
    size_t at = tail.rfind("startxref");
    if (at == std::string::npos) return false;
    Lexer lex{&tail, at + 9};
    int64_t offset;
    if (!lex.ReadInteger(offset) || offset < 0 || static_cast<uint64_t>(offset) >= pdf.in.size) return false;
    std::unordered_set<uint64_t> seen;
    uint64_t next = static_cast<uint64_t>(offset);
    for (int section = 0; section < kMaxXrefSections; section++) {
        if (!seen.insert(next).second) break;  // a /Prev cycle
        Obj trailer;
        if (!ReadXrefSection(pdf, next, trailer)) return section > 0;
        pdf.trailers.push_back(trailer);
        // A hybrid file's table points at a stream with its compressed objects.
        const Obj* xrefStm = trailer.Get("XRefStm");
        if (xrefStm && xrefStm->type == Obj::kInt && xrefStm->number > 0 &&
            static_cast<uint64_t>(xrefStm->number) < pdf.in.size && seen.insert(static_cast<uint64_t>(xrefStm->number)).second) {
            Obj ignored;
            ReadXrefStream(pdf, static_cast<uint64_t>(xrefStm->number), ignored);
        }
        const Obj* prev = trailer.Get("Prev");
        if (!prev || prev->type != Obj::kInt || prev->number < 0 ||
            static_cast<uint64_t>(prev->number) >= pdf.in.size)
            break;
        next = static_cast<uint64_t>(prev->number);
    }
    return true;
}

// Counts the page leaves under node. Kids that close a cycle are skipped and
// a node reached twice counts once, so a crafted tree cannot multiply work.
struct TreeWalk {
    Pdf* pdf;
    std::unordered_set<uint32_t> nodesSeen;
    uint64_t leaves = 0;
    size_t heldKids = 0;  // kids arrays of the levels being walked
    bool failed = false;
};

void WalkNode(TreeWalk& walk, const Obj& node, int depth) {
    const Obj* kidsEntry = node.Get("Kids");
    Obj kids;
    if (!Value(*walk.pdf, kidsEntry, kids) || kids.type != Obj::kArray) return;
    // Deep trees whose nodes share one long kids array must not hold a copy
    // of it on every level.
    walk.heldKids += kids.items.size();
    if (walk.heldKids > kMaxHeldKids) walk.failed = true;
    for (const Obj& kidRef : kids.items) {
        if (walk.failed) break;
        Obj kid;
        if (kidRef.type == Obj::kRef) {
            if (!Resolve(*walk.pdf, kidRef, kid)) {
                if (walk.pdf->loads > kMaxObjectLoads || walk.pdf->in.exhausted) walk.failed = true;
                continue;
            }
        } else {
            kid = kidRef;
        }
        if (kid.type != Obj::kDict) continue;
        const Obj* type = kid.Get("Type");
        bool isNode = kid.Get("Kids") && !(type && type->IsName("Page"));
        if (!isNode) {
            if (++walk.leaves > kMaxPages) walk.failed = true;
            continue;
        }
        if (kidRef.type == Obj::kRef && !walk.nodesSeen.insert(static_cast<uint32_t>(kidRef.number)).second) continue;
        if (depth + 1 > kMaxTreeDepth) {
            walk.failed = true;
            break;
        }
        WalkNode(walk, kid, depth + 1);
    }
    walk.heldKids -= kids.items.size();
}

// The page count under the catalog referenced by root, or -1.
int CountFromRoot(Pdf& pdf, const Obj& root) {
    Obj catalog, pages;
    if (!Value(pdf, &root, catalog) || catalog.type != Obj::kDict) return -1;
    const Obj* pagesRef = catalog.Get("Pages");
    if (!Value(pdf, pagesRef, pages) || pages.type != Obj::kDict) return -1;
    TreeWalk walk;
    walk.pdf = &pdf;
    if (pagesRef->type == Obj::kRef) walk.nodesSeen.insert(static_cast<uint32_t>(pagesRef->number));
    if (pages.Get("Kids")) {
        WalkNode(walk, pages, 0);
    } else if (const Obj* type = pages.Get("Type"); type && type->IsName("Page")) {
        walk.leaves = 1;  // a single page standing as the tree
    }
    if (walk.failed) pdf.overLimit = true;
    if (walk.failed || walk.leaves == 0) return -1;
    return static_cast<int>(walk.leaves);
}

std::string NameValue(Pdf& pdf, const Obj* value) {
    Obj v;
    return Value(pdf, value, v) && v.type == Obj::kName ? v.name : std::string();
}

std::string StringValue(Pdf& pdf, const Obj* value) {
    Obj v;
    return Value(pdf, value, v) && v.type == Obj::kString ? v.name : std::string();
}

// Takes the encryption from the newest trailer with an /Encrypt entry. The
// page tree itself is never encrypted: a file that needs a password still
// counts unless its tree lies in object streams.
void SetUpDecryption(Pdf& pdf, const std::vector<Obj>& newestFirst) {
    for (const Obj& trailer : newestFirst) {
        const Obj* entry = trailer.Get("Encrypt");
        if (!entry) continue;
        Obj dict;
        PdfEncryption e;
        Value(pdf, entry, dict);
        int64_t number = 0;
        e.filter = NameValue(pdf, dict.Get("Filter"));
        if (IntValue(pdf, dict.Get("V"), number)) e.v = static_cast<int>(number);
        if (IntValue(pdf, dict.Get("R"), number)) e.r = static_cast<int>(number);
        if (IntValue(pdf, dict.Get("Length"), number) && number >= 40 && number <= 256)
            e.lengthBits = static_cast<int>(number);
        IntValue(pdf, dict.Get("P"), e.p);
        e.o = StringValue(pdf, dict.Get("O"));
        e.u = StringValue(pdf, dict.Get("U"));
        e.ue = StringValue(pdf, dict.Get("UE"));
        const Obj* metadata = dict.Get("EncryptMetadata");
        if (metadata && metadata->type == Obj::kBool) e.encryptMetadata = metadata->number != 0;
        if (e.v >= 4) {
            std::string filterName = NameValue(pdf, dict.Get("StmF"));
            e.streamMethod = "Identity";
            Obj filters, filter;
            if (!filterName.empty() && filterName != "Identity" && Value(pdf, dict.Get("CF"), filters) &&
                filters.type == Obj::kDict && Value(pdf, filters.Get(filterName.c_str()), filter) &&
                filter.type == Obj::kDict)
                e.streamMethod = NameValue(pdf, filter.Get("CFM"));
        }
        const Obj* id = trailer.Get("ID");
        Obj ids;
        if (Value(pdf, id, ids) && ids.type == Obj::kArray && !ids.items.empty() &&
            ids.items[0].type == Obj::kString)
            e.id = ids.items[0].name;
        // The repair scan finds the same values again: keep the key.
        if (!pdf.encrypted || !SameEncryption(e, pdf.encryption)) {
            pdf.encryption = e;
            pdf.encrypted = true;
            pdf.cryptTried = false;
        }
        return;
    }
}

int CountThroughXref(Pdf& pdf) {
    if (!ReadXrefChain(pdf)) return -1;
    SetUpDecryption(pdf, pdf.trailers);
    for (const Obj& trailer : pdf.trailers) {
        const Obj* root = trailer.Get("Root");
        if (!root) continue;
        return CountFromRoot(pdf, *root);
    }
    return -1;
}

// Rebuilds the object table by scanning the whole file for "num gen obj",
// the way readers repair a file whose cross-reference data is damaged, then
// counts through the last catalog; failing that, counts the page objects.
int CountByScan(Pdf& pdf) {
    pdf.xref.clear();
    pdf.streams.clear();
    pdf.trailers.clear();
    pdf.headerMismatch = false;
    if (pdf.in.size > pdf.in.budget) return -1;
    std::unordered_map<uint32_t, uint64_t> found;  // object number -> offset
    std::vector<uint64_t> trailerOffsets;
    const size_t chunkSize = 1u << 20;
    const size_t overlap = 64;  // room for "num gen obj" cut by a chunk's end
    std::string chunk;
    for (uint64_t base = 0; base < pdf.in.size; base += chunkSize) {
        uint64_t from = base > overlap ? base - overlap : 0;
        if (!ReadAt(pdf.in, from, static_cast<size_t>(base - from) + chunkSize, chunk)) return -1;
        // Words that the previous chunk cut at its end start in the overlap.
        size_t skip = static_cast<size_t>(base - from);
        size_t objFrom = skip >= 2 ? skip - 2 : 0, trailerFrom = skip >= 6 ? skip - 6 : 0;
        for (size_t at = chunk.find("obj", objFrom); at != std::string::npos; at = chunk.find("obj", at + 3)) {
            if (at + 3 < chunk.size() && IsRegular(static_cast<unsigned char>(chunk[at + 3]))) continue;
            // Back over " gen " and "num".
            size_t p = at;
            size_t w = 0;
            while (p > 0 && IsWhite(static_cast<unsigned char>(chunk[p - 1]))) p--, w++;
            if (w == 0) continue;
            size_t genEnd = p;
            while (p > 0 && IsDigit(chunk[p - 1])) p--;
            if (p == genEnd) continue;
            w = 0;
            while (p > 0 && IsWhite(static_cast<unsigned char>(chunk[p - 1]))) p--, w++;
            if (w == 0) continue;
            size_t numEnd = p;
            while (p > 0 && IsDigit(chunk[p - 1])) p--;
            if (p == numEnd || numEnd - p > 9) continue;
            if (p > 0 && IsRegular(static_cast<unsigned char>(chunk[p - 1]))) continue;
            uint64_t num = std::strtoull(chunk.substr(p, numEnd - p).c_str(), nullptr, 10);
            if (num > kMaxObjectNumber) continue;
            if (found.size() >= kMaxObjects && !found.count(static_cast<uint32_t>(num))) return -1;
            found[static_cast<uint32_t>(num)] = from + p;
        }
        for (size_t at = chunk.find("trailer", trailerFrom); at != std::string::npos; at = chunk.find("trailer", at + 7)) {
            // Only the last trailers matter; a file of nothing but the word
            // must not fill memory.
            if (trailerOffsets.size() >= 64) trailerOffsets.erase(trailerOffsets.begin(), trailerOffsets.begin() + 32);
            trailerOffsets.push_back(from + at);
        }
    }
    std::vector<std::pair<uint64_t, uint32_t>> byOffset;
    for (auto& f : found) {
        XrefEntry e;
        e.type = 1;
        e.offset = f.second;
        pdf.xref[f.first] = e;
        byOffset.emplace_back(f.second, f.first);
    }
    std::sort(byOffset.begin(), byOffset.end());  // file order: the last catalog is the newest
    // Objects inside object streams, unless a later direct object has the
    // same number; the streams' types are only known by loading them.
    std::vector<Obj> catalogs;
    std::vector<uint32_t> pageObjects;
    std::vector<std::pair<uint32_t, uint32_t>> packed;  // object, stream
    std::vector<uint32_t> objectStreams;
    for (auto& f : byOffset) {
        Obj obj;
        uint64_t start = 0;
        if (!ReadIndirect(pdf, f.first, f.second, obj, &start)) {
            if (pdf.loads > kMaxObjectLoads || pdf.in.exhausted) return -1;
            continue;
        }
        if (obj.type != Obj::kDict) continue;
        const Obj* type = obj.Get("Type");
        Obj ref;
        ref.type = Obj::kRef;
        ref.number = f.second;
        if (type && type->IsName("Catalog")) catalogs.push_back(ref);
        if (type && type->IsName("Page")) pageObjects.push_back(f.second);
        if (type && type->IsName("XRef") && obj.Get("Root")) pdf.trailers.push_back(obj);
        if (type && type->IsName("ObjStm")) objectStreams.push_back(f.second);
    }
    // The trailers, newest first: the classic ones, then the dictionaries of
    // cross-reference streams. They name the roots and the encryption.
    std::vector<Obj> trailers;
    for (size_t i = trailerOffsets.size(); i-- > 0;) {
        std::string text;
        if (!ReadAt(pdf.in, trailerOffsets[i], 65536, text)) break;
        Lexer lex{&text, 7};
        Obj trailer;
        if (ParseObject(lex, trailer, 0) && trailer.type == Obj::kDict) trailers.push_back(trailer);
    }
    for (size_t i = pdf.trailers.size(); i-- > 0;) trailers.push_back(pdf.trailers[i]);
    SetUpDecryption(pdf, trailers);
    for (uint32_t number : objectStreams) {
        ObjectStream* stream = LoadObjectStream(pdf, number);
        if (!stream) continue;
        for (auto& member : stream->offsets)
            if (packed.size() < kMaxObjects) packed.emplace_back(member.first, number);
    }
    auto position = [&pdf](const XrefEntry& e) {
        if (e.type == 1) return e.offset;
        auto stream = pdf.xref.find(static_cast<uint32_t>(e.offset));
        return stream == pdf.xref.end() ? 0 : stream->second.offset;
    };
    for (auto& member : packed) {
        XrefEntry e;
        e.type = 2;
        e.offset = member.second;
        auto existing = pdf.xref.find(member.first);
        if (existing == pdf.xref.end() || position(existing->second) < position(e)) pdf.xref[member.first] = e;
    }
    for (auto& member : packed) {
        auto e = pdf.xref.find(member.first);
        if (e == pdf.xref.end() || e->second.type != 2) continue;
        Obj ref, obj;
        ref.type = Obj::kRef;
        ref.number = member.first;
        if (!Resolve(pdf, ref, obj) || obj.type != Obj::kDict) continue;
        const Obj* type = obj.Get("Type");
        if (type && type->IsName("Catalog")) catalogs.push_back(ref);
        if (type && type->IsName("Page")) pageObjects.push_back(member.first);
    }
    // The roots to try, best first: the last trailer's, the last
    // cross-reference stream's, the last catalog; each tried once.
    std::vector<Obj> roots;
    for (const Obj& trailer : trailers)
        if (trailer.Get("Root")) roots.push_back(*trailer.Get("Root"));
    for (size_t i = catalogs.size(); i-- > 0;) roots.push_back(catalogs[i]);
    std::unordered_set<int64_t> tried;
    for (const Obj& root : roots) {
        if (root.type == Obj::kRef && !tried.insert(root.number).second) continue;
        int count = CountFromRoot(pdf, root);
        if (count > 0) return count;
        if (pdf.overLimit) return -1;
    }
    if (pageObjects.empty() || pageObjects.size() > kMaxPages) return -1;
    return static_cast<int>(pageObjects.size());
}

int CountWithin(Input& in, bool& repaired) {
    std::string head;
    if (!ReadAt(in, 0, 1024, head) || head.find("%PDF-") == std::string::npos) return -1;
    Pdf pdf;
    pdf.in = in;
    int count = CountThroughXref(pdf);
    if (pdf.overLimit) return -1;  // too large to count, repaired or not
    if (count > 0 && !pdf.headerMismatch) return count;
    // Damaged cross-reference data: the scan starts with a fresh budget for
    // loads but not for bytes, so the file is read at most a few times over.
    pdf.loads = 0;
    int scanned = CountByScan(pdf);
    repaired = scanned > 0;
    return scanned > 0 ? scanned : count;
}

// The counter is called across a C boundary (the DLL export), where an
// exception must not pass: memory that runs out in a 32-bit caller is a
// file it cannot read.
int Count(Input& in, bool* repaired) {
    bool scanned = false;
    int count = -1;
    try {
        count = CountWithin(in, scanned);
    } catch (...) {
        count = -1;
    }
    if (repaired) *repaired = scanned;
    return count;
}

}  // namespace

int CountPdfPagesInMemory(const unsigned char* data, size_t size, bool* repaired) {
    if (repaired) *repaired = false;
    if (!data && size) return -1;
    Input in;
    in.data = data;
    in.size = size;
    return Count(in, repaired);
}

int CountPdfPages(const char* path, bool* repaired) {
    if (repaired) *repaired = false;
    if (!path || !*path) return -1;
    FILE* file = std::fopen(path, "rb");
    if (!file) return -1;
    Input in;
    in.file = file;
#ifdef _WIN32
    bool sized = _fseeki64(file, 0, SEEK_END) == 0;
    int64_t size = sized ? _ftelli64(file) : -1;
#else
    bool sized = fseeko(file, 0, SEEK_END) == 0;
    int64_t size = sized ? static_cast<int64_t>(ftello(file)) : -1;
#endif
    int count = -1;
    if (size > 0) {
        in.size = static_cast<uint64_t>(size);
        count = Count(in, repaired);
    }
    std::fclose(file);
    return count;
}
