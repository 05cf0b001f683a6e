// The PDF, DXF, RTF and HTML outputs, written from PDF files that
// ghostscript makes when the test runs (text in plain, bold and oblique
// fonts, a line, a curve, a filled rectangle) and from a hand-made PDF whose
// text is hostile. What the writers produce is read back by independent
// tools where there are some (qpdf, pdfinfo, pdftotext, pdftoppm) and by a
// plain DXF reader here.
#include "engine/document_writers.h"
#include "engine/formats.h"

#include <gtest/gtest.h>

#include <GlobalParams.h>
#include <PDFDoc.h>
#include <goo/GooString.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

std::string WorkFolder();

class PopplerEnvironment : public testing::Environment {
public:
    void SetUp() override { globalParams = std::make_unique<GlobalParams>(); }
    void TearDown() override {
        globalParams.reset();
        std::error_code ignored;
        if (!std::getenv("KEEP")) std::filesystem::remove_all(WorkFolder(), ignored);
    }
};
testing::Environment* const kPoppler = testing::AddGlobalTestEnvironment(new PopplerEnvironment);

std::string WorkFolder() {
    static std::string folder = [] {
        std::string pattern = testing::TempDir() + "document_writers_XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (!mkdtemp(name.data())) std::abort();
        return std::string(name.data());
    }();
    return folder;
}

std::string Path(const std::string& name) { return WorkFolder() + "/" + name; }

// A command's standard output, and its exit status in status.
std::string Shell(const std::string& command, int* status = nullptr) {
    std::string output;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return output;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) output.append(chunk, got);
    int result = pclose(pipe);
    if (status) *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return output;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The text with every run of blanks made one blank.
std::string Squeezed(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != ' ' || out.empty() || out.back() != ' ') out.push_back(c);
    }
    return out;
}

int Count(const std::string& text, const std::string& what) {
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++count;
    return count;
}

// Three letter pages: the first with plain, bold and oblique text (Latin-1,
// braces, a backslash and markup among it), a line from (100,100) to
// (300,100), a curve from (100,150) to (300,150) through y 225, and a filled
// rectangle (400,400)-(500,450); the other two a line of text each.
const char kProgram[] = R"PS(%!PS
/Latin { findfont dup length dict begin {1 index /FID ne {def} {pop pop} ifelse} forall
  /Encoding ISOLatin1Encoding def currentdict end definefont pop } def
/Plain /Helvetica Latin
/Bold /Helvetica-Bold Latin
/Slant /Helvetica-Oblique Latin
[ /Title (Q&A <script> caf\351) /DOCINFO pdfmark
<< /PageSize [612 792] >> setpagedevice
/Plain findfont 14 scalefont setfont
72 700 moveto (First page: plain caf\351 a{b}c\\d <script>x</script>) show
/Bold findfont 14 scalefont setfont
72 660 moveto (Bold words) show
/Slant findfont 14 scalefont setfont
72 620 moveto (Slanted words) show
1 setlinewidth
100 100 moveto 300 100 lineto stroke
100 150 moveto 150 250 250 250 300 150 curveto stroke
newpath 400 400 moveto 500 400 lineto 500 450 lineto 400 450 lineto closepath fill
showpage
/Plain findfont 12 scalefont setfont
72 700 moveto (Second page marker) show
showpage
/Plain findfont 12 scalefont setfont
72 700 moveto (Third page marker) show
showpage
)PS";

const std::string& SamplePdf() {
    static std::string path = [] {
        std::string ps = Path("sample.ps"), pdf = Path("sample.pdf");
        WriteFile(ps, kProgram);
        Shell("gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -sOutputFile=" + pdf + " " + ps);
        return pdf;
    }();
    return path;
}

// A classic PDF file of the given object bodies, numbered from 1.
std::string ClassicPdf(const std::vector<std::string>& objects, const std::string& trailer) {
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<</Size " + std::to_string(objects.size() + 1) + " " + trailer + ">>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

std::string Stream(const std::string& data) {
    return "<</Length " + std::to_string(data.size()) + ">>\nstream\n" + data + "\nendstream";
}

// Two pages whose resources and size are inherited from the page tree. The
// first holds one line of text whose font maps A..H, through its ToUnicode
// table, to BEL, {, }, backslash, ESC, <, % and %, followed by real markup,
// and a link to the second page that also reaches an array holding itself.
// The title (UTF-16) holds BEL, ESC, markup, braces, a backslash and an e
// acute.
const std::string& HostilePdf() {
    static std::string path = [] {
        std::string cmap =
            "/CIDInit /ProcSet findresource begin 12 dict begin begincmap /CMapName /Hostile def\n"
            "1 begincodespacerange <00> <FF> endcodespacerange\n"
            "8 beginbfchar <41> <0007> <42> <007B> <43> <007D> <44> <005C> <45> <001B> <46> <003C>"
            " <47> <0025> <48> <0025> endbfchar\n"
            "endcmap CMapName currentdict /CMap defineresource pop end end";
        std::string pdf = ClassicPdf(
            {"<</Type /Catalog /Pages 2 0 R>>",
             "<</Type /Pages /Kids [3 0 R 8 0 R] /Count 2 /MediaBox [0 0 400 300] /Resources <</Font <</F1 4 0 R>>>>>>",
             "<</Type /Page /Parent 2 0 R /Contents 5 0 R /Annots [9 0 R]>>",
             "<</Type /Font /Subtype /Type1 /BaseFont /Helvetica /ToUnicode 6 0 R>>",
             Stream("BT /F1 12 Tf 20 200 Td (ABCDEFGH <script>alert\\(1\\)</script>) Tj ET"), Stream(cmap),
             "<</Title <FEFF0007001B003C0062003E007B0078007D005C00E9>>>",
             "<</Type /Page /Parent 2 0 R /Contents 10 0 R>>",
             "<</Type /Annot /Subtype /Link /Rect [0 0 10 10] /Dest [8 0 R /Fit] /P 3 0 R /Loop 11 0 R>>",
             Stream("BT /F1 12 Tf 20 200 Td (Other page) Tj ET"), "[11 0 R 9 0 R]"},
            "/Root 1 0 R /Info 7 0 R");
        std::string file = Path("hostile.pdf");
        WriteFile(file, pdf);
        return file;
    }();
    return path;
}

std::unique_ptr<PDFDoc> Open(const std::string& path, const char* password = nullptr) {
    std::optional<GooString> secret;
    if (password) secret = GooString(password);
    return std::make_unique<PDFDoc>(std::make_unique<GooString>(path), secret, secret);
}

// The format table's writer for options.format, driven as a run drives it.
bool Convert(const OutputOptions& options, PDFDoc* document, const std::vector<int>& pages, const std::string& path) {
    const FormatEntry* entry = FindFormat(options.format);
    if (!entry || !entry->make) return false;
    std::unique_ptr<Writer> writer = entry->make(options);
    std::string error;
    bool ok = writer->Begin(path, document, &error);
    for (int page : pages) {
        PageInput input;
        input.number = page;
        input.document = document;
        ok = ok && writer->AddPage(input, &error);
    }
    ok = ok && writer->End(&error);
    EXPECT_TRUE(ok) << error;
    return ok;
}

OutputOptions OptionsFor(int format) {
    OutputOptions options;
    options.format = format;
    return options;
}

// Whether every brace outside an escape closes one opened before it.
bool RtfBalanced(const std::string& rtf) {
    int depth = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') ++i;
        else if (rtf[i] == '{') ++depth;
        else if (rtf[i] == '}' && --depth < 0) return false;
    }
    return depth == 0;
}

bool HasControlBytes(const std::string& text, const std::string& allowed) {
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 || byte == 0x7F) && allowed.find(c) == std::string::npos) return true;
    }
    return false;
}

// A plain DXF reader: pairs of lines, a group code and a value; the
// entities of the ENTITIES section, a POLYLINE with its VERTEX points.
struct DxfEntity {
    std::string type;
    std::map<int, std::string> groups;
    std::vector<std::pair<double, double>> vertices;
    double Number(int code) const { return groups.count(code) ? std::atof(groups.at(code).c_str()) : NAN; }
};

bool ReadDxf(const std::string& path, std::vector<DxfEntity>& entities, std::string* why) {
    std::istringstream in(ReadFile(path));
    std::string codeLine, value;
    bool inEntities = false, sawEof = false;
    std::string section;
    while (std::getline(in, codeLine) && std::getline(in, value)) {
        if (!codeLine.empty() && codeLine.back() == '\r') codeLine.pop_back();
        if (!value.empty() && value.back() == '\r') value.pop_back();
        char* end = nullptr;
        long code = std::strtol(codeLine.c_str(), &end, 10);
        while (end && *end == ' ') ++end;
        if (codeLine.empty() || !end || *end != '\0') {
            *why = "not a group code: '" + codeLine + "'";
            return false;
        }
        if (code == 0 && value == "EOF") sawEof = true;
        if (code == 0 && value == "SECTION") section.clear();
        if (code == 2 && section.empty()) {
            section = value;
            inEntities = value == "ENTITIES";
            continue;
        }
        if (!inEntities) continue;
        if (code == 0) {
            if (value == "ENDSEC") {
                inEntities = false;
            } else if (value == "VERTEX" && !entities.empty() && entities.back().type == "POLYLINE") {
                entities.back().vertices.emplace_back(NAN, NAN);
            } else if (value != "SEQEND") {
                entities.push_back({value, {}, {}});
            }
            continue;
        }
        if (entities.empty()) continue;
        DxfEntity& entity = entities.back();
        if (entity.type == "POLYLINE" && !entity.vertices.empty() && (code == 10 || code == 20)) {
            (code == 10 ? entity.vertices.back().first : entity.vertices.back().second) = std::atof(value.c_str());
        } else {
            entity.groups[static_cast<int>(code)] = value;
        }
    }
    if (!sawEof) *why = "no EOF";
    return sawEof;
}

bool Near(double a, double b) { return std::fabs(a - b) < 0.05; }

TEST(PdfOutput, CopiesTheRangeWithItsTextAndTurnsThePages) {
    // The source keeps its objects in object streams and its second page is
    // already turned a quarter: the job's turn adds to it.
    std::string source = Path("turned.pdf");
    int status = -1;
    Shell("qpdf --object-streams=generate --rotate=+90:2 " + SamplePdf() + " " + source, &status);
    ASSERT_EQ(0, status);
    std::unique_ptr<PDFDoc> document = Open(source);
    ASSERT_TRUE(document->isOk());

    OutputOptions options = OptionsFor(kOutPdf);
    options.operations.rotate = true;
    options.operations.rotateDegrees = 100;
    std::string out = Path("range.pdf");
    ASSERT_TRUE(Convert(options, document.get(), {2, 3}, out));
    EXPECT_NE(std::string::npos, DocumentFormatNote(options).find("rounded to 90")) << DocumentFormatNote(options);

    std::string check = Shell("qpdf --check " + out, &status);
    EXPECT_EQ(0, status) << check;
    std::string info = Squeezed(Shell("pdfinfo -f 1 -l 2 " + out));
    EXPECT_NE(std::string::npos, info.find("Pages: 2")) << info;
    EXPECT_NE(std::string::npos, info.find("Page 1 rot: 180")) << info;
    EXPECT_NE(std::string::npos, info.find("Page 2 rot: 90")) << info;
    EXPECT_NE(std::string::npos, info.find("Title: Q&A <script> caf\xC3\xA9")) << info;
    std::string first = Shell("pdftotext -f 1 -l 1 " + out + " -");
    std::string second = Shell("pdftotext -f 2 -l 2 " + out + " -");
    EXPECT_NE(std::string::npos, first.find("Second page marker")) << first;
    EXPECT_NE(std::string::npos, second.find("Third page marker")) << second;
    EXPECT_EQ(std::string::npos, (first + second).find("First page")) << "a page outside the range came along";
}

TEST(PdfOutput, EncryptedSourceGivesAnUnencryptedCopyThatDrawsTheSame) {
    std::string original = Shell("pdftoppm -r 40 -gray -f 1 -l 1 " + SamplePdf());
    ASSERT_FALSE(original.empty());
    const char* const ciphers[] = {"256", "128 --use-aes=n", "40"};
    for (const char* cipher : ciphers) {
        SCOPED_TRACE(cipher);
        std::string locked = Path("locked.pdf");
        int status = -1;
        Shell(std::string("qpdf --allow-weak-crypto --encrypt secret owner ") + cipher + " -- " + SamplePdf() + " " + locked, &status);
        ASSERT_EQ(0, status);
        std::unique_ptr<PDFDoc> document = Open(locked, "secret");
        ASSERT_TRUE(document->isOk());
        ASSERT_TRUE(document->isEncrypted());

        std::string out = Path("unlocked.pdf");
        ASSERT_TRUE(Convert(OptionsFor(kOutPdf), document.get(), {1, 2, 3}, out));
        std::string check = Shell("qpdf --check " + out, &status);
        EXPECT_EQ(0, status) << check;
        std::string info = Squeezed(Shell("pdfinfo " + out));
        EXPECT_NE(std::string::npos, info.find("Encrypted: no")) << info;
        EXPECT_NE(std::string::npos, info.find("Pages: 3")) << info;
        EXPECT_NE(std::string::npos, info.find("Title: Q&A <script> caf\xC3\xA9")) << "the title stays encrypted: " << info;
        EXPECT_NE(std::string::npos, Shell("pdftotext -f 1 -l 1 " + out + " -").find("Bold words"));
        // The copied content streams and fonts draw the page pixel for pixel.
        EXPECT_TRUE(original == Shell("pdftoppm -r 40 -gray -f 1 -l 1 " + out)) << "page 1 draws differently";
    }
}

TEST(PdfOutput, InheritedAttributesComeAlongLinksOutsideTheRangeDoNot) {
    std::unique_ptr<PDFDoc> document = Open(HostilePdf());
    ASSERT_TRUE(document->isOk());
    ASSERT_EQ(2, document->getNumPages());
    std::string out = Path("first.pdf");
    ASSERT_TRUE(Convert(OptionsFor(kOutPdf), document.get(), {1}, out));
    int status = -1;
    std::string check = Shell("qpdf --check " + out, &status);
    EXPECT_EQ(0, status) << check;
    std::string info = Squeezed(Shell("pdfinfo " + out));
    EXPECT_NE(std::string::npos, info.find("Pages: 1")) << info;
    EXPECT_NE(std::string::npos, info.find("Page size: 400 x 300 pts")) << info;
    EXPECT_NE(std::string::npos, Shell("pdftotext " + out + " -").find("<script>alert(1)</script>"));
    EXPECT_EQ(std::string::npos, ReadFile(out).find("Other page")) << "the second page's content was copied";
}

TEST(DxfOutput, HoldsThePathsInPointsAndTheWords) {
    std::unique_ptr<PDFDoc> document = Open(SamplePdf());
    ASSERT_TRUE(document->isOk());
    std::string out = Path("page1.dxf");
    ASSERT_TRUE(Convert(OptionsFor(kOutDxf), document.get(), {1}, out));
    std::vector<DxfEntity> entities;
    std::string why;
    ASSERT_TRUE(ReadDxf(out, entities, &why)) << why;

    bool line = false, curve = false, rectangle = false;
    std::map<std::string, const DxfEntity*> words;
    for (const DxfEntity& entity : entities) {
        if (entity.type == "LINE") {
            line = line || (Near(entity.Number(10), 100) && Near(entity.Number(20), 100) && Near(entity.Number(11), 300) &&
                            Near(entity.Number(21), 100));
        } else if (entity.type == "POLYLINE" && entity.groups.at(70) == "0" && entity.vertices.size() >= 5) {
            double top = 0;
            bool inside = true;
            for (auto& vertex : entity.vertices) {
                top = std::max(top, vertex.second);
                inside = inside && vertex.first > 99.9 && vertex.first < 300.1 && vertex.second > 149.9 && vertex.second < 250;
            }
            curve = curve || (inside && Near(entity.vertices.front().first, 100) && Near(entity.vertices.back().first, 300) &&
                              top > 224 && top < 225.1);
        } else if (entity.type == "POLYLINE" && entity.groups.at(70) == "1" && entity.vertices.size() == 4) {
            double xMin = 1e9, xMax = -1e9, yMin = 1e9, yMax = -1e9;
            for (auto& vertex : entity.vertices) {
                xMin = std::min(xMin, vertex.first), xMax = std::max(xMax, vertex.first);
                yMin = std::min(yMin, vertex.second), yMax = std::max(yMax, vertex.second);
            }
            rectangle = rectangle || (Near(xMin, 400) && Near(xMax, 500) && Near(yMin, 400) && Near(yMax, 450));
        } else if (entity.type == "TEXT") {
            words[entity.groups.at(1)] = &entity;
        }
    }
    // A DXF library of its own reads the same drawing without a complaint.
    std::map<std::string, int> counts;
    for (const DxfEntity& entity : entities) ++counts[entity.type];
    std::string expected = "errors 0 LINE " + std::to_string(counts["LINE"]) + " POLYLINE " +
                           std::to_string(counts["POLYLINE"]) + " TEXT " + std::to_string(counts["TEXT"]) + "\n['caf\xC3\xA9']\n";
    EXPECT_EQ(expected, Shell("/usr/bin/python3 -c \"import sys, ezdxf; from ezdxf import recover; "
                              "doc, audit = recover.readfile(sys.argv[1]); m = doc.modelspace(); "
                              "print('errors', len(audit.errors), *[x for t in ('LINE', 'POLYLINE', 'TEXT') "
                              "for x in (t, len(m.query(t)))]); "
                              "print([t.dxf.text for t in m.query('TEXT') if t.dxf.text.startswith('caf')])\" " + out));
    EXPECT_TRUE(line) << "no LINE from (100,100) to (300,100)";
    EXPECT_TRUE(curve) << "no open POLYLINE following the curve";
    EXPECT_TRUE(rectangle) << "no closed POLYLINE around the filled rectangle";
    ASSERT_TRUE(words.count("First")) << "no TEXT 'First'";
    EXPECT_TRUE(Near(words["First"]->Number(10), 72) && Near(words["First"]->Number(20), 700));
    EXPECT_TRUE(Near(words["First"]->Number(40), 14));
    EXPECT_TRUE(words.count("caf\xE9"));
    EXPECT_TRUE(words.count("a{b}c\\U+005Cd"));
    EXPECT_TRUE(words.count("Slanted"));

    // Turned a quarter clockwise, the page is 792 wide and 612 high and the
    // line runs down from (100,512) to (100,312).
    OutputOptions turned = OptionsFor(kOutDxf);
    turned.operations.rotate = true;
    turned.operations.rotateDegrees = 90;
    ASSERT_TRUE(Convert(turned, document.get(), {1}, out));
    entities.clear();
    ASSERT_TRUE(ReadDxf(out, entities, &why)) << why;
    bool turnedLine = false;
    for (const DxfEntity& entity : entities) {
        turnedLine = turnedLine || (entity.type == "LINE" && Near(entity.Number(10), 100) && Near(entity.Number(20), 512) &&
                                    Near(entity.Number(11), 100) && Near(entity.Number(21), 312));
    }
    EXPECT_TRUE(turnedLine) << "the turned page has no LINE from (100,512) to (100,312)";

    std::string second = Path("page2.dxf");
    ASSERT_TRUE(Convert(OptionsFor(kOutDxf), document.get(), {2}, second));
    entities.clear();
    ASSERT_TRUE(ReadDxf(second, entities, &why)) << why;
    ASSERT_EQ(3u, entities.size()) << "page 2 holds three words and nothing else";
    EXPECT_EQ("Second", entities[0].groups[1]);
}

TEST(RtfOutput, FormattedKeepsSizesAndStylesRawKeepsParagraphs) {
    std::unique_ptr<PDFDoc> document = Open(SamplePdf());
    ASSERT_TRUE(document->isOk());
    OutputOptions options = OptionsFor(kOutRtf);
    options.rtfRaw = false;
    std::string formatted = Path("formatted.rtf");
    ASSERT_TRUE(Convert(options, document.get(), {1, 2, 3}, formatted));
    std::string rtf = ReadFile(formatted);
    EXPECT_EQ(0u, rtf.find("{\\rtf1\\ansi"));
    EXPECT_TRUE(RtfBalanced(rtf));
    EXPECT_EQ(2, Count(rtf, "\\page")) << rtf;
    EXPECT_NE(std::string::npos, rtf.find("\\fs28 First page: plain caf\\u233? a\\{b\\}c\\\\d <script>x</script>}")) << rtf;
    EXPECT_NE(std::string::npos, rtf.find("\\fs28\\b Bold words}")) << rtf;
    EXPECT_NE(std::string::npos, rtf.find("\\fs28\\i Slanted words}")) << rtf;
    EXPECT_NE(std::string::npos, rtf.find("\\fs24 Third page marker}")) << rtf;
    EXPECT_NE(std::string::npos, rtf.find("{\\title Q&A <script> caf\\u233?}")) << rtf;
    EXPECT_EQ(1, Count(rtf, "Helvetica;")) << "the family is one font whatever its style";

    options.rtfRaw = true;
    std::string raw = Path("raw.rtf");
    ASSERT_TRUE(Convert(options, document.get(), {2, 3}, raw));
    rtf = ReadFile(raw);
    EXPECT_TRUE(RtfBalanced(rtf));
    EXPECT_EQ(1, Count(rtf, "\\page"));
    EXPECT_EQ(std::string::npos, rtf.find("\\b")) << rtf;
    EXPECT_NE(std::string::npos, rtf.find("\\pard\\plain \\f0\\fs24 Second page marker\\par")) << rtf;
}

TEST(HtmlOutput, TitleAndASectionAPageAllEscaped) {
    std::unique_ptr<PDFDoc> document = Open(SamplePdf());
    ASSERT_TRUE(document->isOk());
    std::string out = Path("sample.html");
    ASSERT_TRUE(Convert(OptionsFor(kOutHtml), document.get(), {1, 2, 3}, out));
    std::string html = ReadFile(out);
    EXPECT_NE(std::string::npos, html.find("<meta charset=\"utf-8\">"));
    EXPECT_NE(std::string::npos, html.find("<title>Q&amp;A &lt;script&gt; caf\xC3\xA9</title>")) << html;
    EXPECT_EQ(3, Count(html, "<section"));
    EXPECT_EQ(std::string::npos, html.find("<script")) << html;
    EXPECT_NE(std::string::npos,
              html.find("<p>First page: plain caf\xC3\xA9 a{b}c\\d &lt;script&gt;x&lt;/script&gt;</p>")) << html;
    EXPECT_NE(std::string::npos, html.find("<section id=\"page-2\">\n<p>Second page marker</p>\n</section>")) << html;
}

// Control characters, braces, backslashes, percent pairs and markup in a
// page's text and in the title change no output's structure.
TEST(DocumentOutputs, HostileTextIsEscapedEverywhere) {
    std::unique_ptr<PDFDoc> document = Open(HostilePdf());
    ASSERT_TRUE(document->isOk());

    std::string html = ReadFile(Convert(OptionsFor(kOutHtml), document.get(), {1}, Path("hostile.html")) ? Path("hostile.html") : "");
    EXPECT_FALSE(HasControlBytes(html, "\n")) << html;
    EXPECT_EQ(std::string::npos, html.find("<script")) << html;
    EXPECT_EQ(std::string::npos, html.find("<b>")) << html;
    EXPECT_NE(std::string::npos, html.find("<title>&lt;b&gt;{x}\\\xC3\xA9</title>")) << html;
    EXPECT_NE(std::string::npos, html.find("{}\\&lt;%% &lt;script&gt;alert(1)&lt;/script&gt;")) << html;

    OutputOptions options = OptionsFor(kOutRtf);
    for (bool raw : {true, false}) {
        options.rtfRaw = raw;
        std::string rtf = ReadFile(Convert(options, document.get(), {1}, Path("hostile.rtf")) ? Path("hostile.rtf") : "");
        EXPECT_TRUE(RtfBalanced(rtf)) << rtf;
        EXPECT_FALSE(HasControlBytes(rtf, "\r\n")) << rtf;
        EXPECT_NE(std::string::npos, rtf.find("\\{\\}\\\\<%% <script>alert(1)</script>")) << rtf;
        EXPECT_NE(std::string::npos, rtf.find("{\\title <b>\\{x\\}\\\\\\u233?}")) << rtf;
    }

    std::string dxf = Path("hostile.dxf");
    ASSERT_TRUE(Convert(OptionsFor(kOutDxf), document.get(), {1}, dxf));
    EXPECT_FALSE(HasControlBytes(ReadFile(dxf), "\r\n"));
    std::vector<DxfEntity> entities;
    std::string why;
    ASSERT_TRUE(ReadDxf(dxf, entities, &why)) << why;
    std::string texts;
    for (const DxfEntity& entity : entities) {
        if (entity.type == "TEXT") texts += entity.groups.at(1) + " ";
    }
    EXPECT_NE(std::string::npos, texts.find("{}\\U+005C<%%%%%%")) << texts;
    EXPECT_NE(std::string::npos, texts.find("<script>alert(1)</script>")) << texts;
}

}  // namespace
