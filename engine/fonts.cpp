// Poppler's start for the engine: data folder, messages, standard fonts.
#include "engine/fonts.h"

#include <cstdio>
#include <memory>

#include "Error.h"
#include "GlobalParams.h"
#include "goo/GooString.h"

namespace {

// Each face of fonts-urw-base35 that stands in for a standard font, with
// the names poppler may look it up by: the standard name first, then the
// names of the metric-compatible Windows fonts that PDF files carry.
struct StandardFace {
    const char* file;
    const char* names[10];
};

const StandardFace kStandardFaces[] = {
    {"NimbusSans-Regular.otf", {"Helvetica", "Arial", "ArialMT"}},
    {"NimbusSans-Bold.otf", {"Helvetica-Bold", "Helvetica,Bold", "Arial,Bold", "Arial-Bold", "Arial-BoldMT"}},
    {"NimbusSans-Italic.otf",
     {"Helvetica-Oblique", "Helvetica-Italic", "Helvetica,Italic", "Arial,Italic", "Arial-Italic", "Arial-ItalicMT"}},
    {"NimbusSans-BoldItalic.otf",
     {"Helvetica-BoldOblique", "Helvetica-BoldItalic", "Helvetica,BoldItalic", "Arial,BoldItalic",
      "Arial-BoldItalic", "Arial-BoldItalicMT"}},
    {"NimbusRoman-Regular.otf", {"Times-Roman", "TimesNewRoman", "TimesNewRomanPS", "TimesNewRomanPSMT"}},
    {"NimbusRoman-Bold.otf",
     {"Times-Bold", "TimesNewRoman,Bold", "TimesNewRoman-Bold", "TimesNewRomanPS-Bold", "TimesNewRomanPS-BoldMT"}},
    {"NimbusRoman-Italic.otf",
     {"Times-Italic", "TimesNewRoman,Italic", "TimesNewRoman-Italic", "TimesNewRomanPS-Italic",
      "TimesNewRomanPS-ItalicMT"}},
    {"NimbusRoman-BoldItalic.otf",
     {"Times-BoldItalic", "TimesNewRoman,BoldItalic", "TimesNewRoman-BoldItalic", "TimesNewRomanPS-BoldItalic",
      "TimesNewRomanPS-BoldItalicMT"}},
    {"NimbusMonoPS-Regular.otf", {"Courier", "CourierNew", "CourierNewPSMT"}},
    {"NimbusMonoPS-Bold.otf", {"Courier-Bold", "Courier,Bold", "CourierNew,Bold", "CourierNew-Bold", "CourierNewPS-BoldMT"}},
    {"NimbusMonoPS-Italic.otf",
     {"Courier-Oblique", "Courier,Italic", "CourierNew,Italic", "CourierNew-Italic", "CourierNewPS-ItalicMT"}},
    {"NimbusMonoPS-BoldItalic.otf",
     {"Courier-BoldOblique", "Courier,BoldItalic", "CourierNew,BoldItalic", "CourierNew-BoldItalic",
      "CourierNewPS-BoldItalicMT"}},
    {"StandardSymbolsPS.otf", {"Symbol", "SymbolMT"}},
    {"D050000L.otf", {"ZapfDingbats"}},
};

PopplerMessageSink g_sink = nullptr;

// Poppler's error callback carries no context, so the sink is kept here.
void ForwardPopplerMessage(ErrorCategory, Goffset where, const char* message) {
    if (g_sink != nullptr && message != nullptr) g_sink(message, static_cast<long long>(where));
}

std::string JoinPath(const std::string& folder, const char* name) {
#ifdef _WIN32
    const char separator = '\\';
#else
    const char separator = '/';
#endif
    if (folder.empty()) return name;
    char last = folder.back();
    if (last == '/' || last == '\\') return folder + name;
    return folder + separator + name;
}

bool FileExists(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

}  // namespace

void StartPoppler(const std::string& data_folder, PopplerMessageSink sink) {
    g_sink = sink;
    // Set before the parameters exist: their constructor may already report.
    setErrorCallback(ForwardPopplerMessage);
    globalParams = std::make_unique<GlobalParams>(data_folder.empty() ? nullptr : data_folder.c_str());
}

std::vector<std::string> RegisterStandardFonts(const std::string& fonts_folder) {
    std::vector<std::string> missing;
    if (!globalParams) {
        for (const StandardFace& face : kStandardFaces) missing.push_back(face.file);
        return missing;
    }
    for (const StandardFace& face : kStandardFaces) {
        std::string path = JoinPath(fonts_folder, face.file);
        if (!FileExists(path)) {
            missing.push_back(face.file);
            continue;
        }
        const GooString path_text(path);
        for (const char* name : face.names) {
            if (name == nullptr) break;
            const GooString name_text(name);
            globalParams->addFontFile(&name_text, &path_text);
        }
    }
    return missing;
}
