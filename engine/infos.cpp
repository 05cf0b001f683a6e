// The "Database Infos" table: the chosen document properties of each PDF as
// a CSV row. Texts from the PDF are UTF-8; a cell that a spreadsheet would
// take for a formula gets a leading apostrophe, so a document's metadata
// cannot run as a formula in the user's spreadsheet.
#include "engine/infos.h"

#include <Catalog.h>
#include <DateInfo.h>
#include <PDFDoc.h>
#include <goo/GooString.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/pdf_text.h"

namespace {

struct Column {
    bool OutputOptions::*chosen;
    const char* header;
};

const Column kColumns[] = {
    {&OutputOptions::infoFileName, "File name"},
    {&OutputOptions::infoFileSize, "File size"},
    {&OutputOptions::infoTitle, "Title"},
    {&OutputOptions::infoSubject, "Subject"},
    {&OutputOptions::infoKeywords, "Keywords"},
    {&OutputOptions::infoAuthor, "Author"},
    {&OutputOptions::infoCreator, "Creator"},
    {&OutputOptions::infoProducer, "Producer"},
    {&OutputOptions::infoCreation, "Creation date"},
    {&OutputOptions::infoModification, "Modification date"},
    {&OutputOptions::infoOptimization, "Optimization"},
    {&OutputOptions::infoVersion, "PDF version"},
    {&OutputOptions::infoPageSize, "Page size"},
    {&OutputOptions::infoEncrypted, "Encrypted"},
    {&OutputOptions::infoTagged, "Tagged"},
};

std::string SafeCell(std::string text) {
    if (!text.empty() && (text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@' ||
                          text[0] == '\t' || text[0] == '\r'))
        text.insert(0, "'");
    return text;
}

std::string InfoText(std::unique_ptr<GooString> value) { return SafeCell(PdfTextToUtf8(value.get())); }

std::string InfoDate(std::unique_ptr<GooString> value) {
    if (!value) return std::string();
    return SafeCell(PdfDateToIso(PdfTextToUtf8(value.get())));
}

std::string YesNo(bool value) { return value ? "yes" : "no"; }

std::string Points(double value) {
    char text[64];
    if (value == std::floor(value) && std::fabs(value) < 1e9)
        std::snprintf(text, sizeof text, "%.0f", value);
    else
        std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

}  // namespace

std::string PdfDateToIso(const std::string& date) {
    GooString text(date);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, tzHour = 0, tzMinute = 0;
    char tz = 0;
    if (!parseDateString(&text, &year, &month, &day, &hour, &minute, &second, &tz, &tzHour, &tzMinute))
        return date;
    if (year < 0 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 60 || tzHour < 0 || tzHour > 23 || tzMinute < 0 ||
        tzMinute > 59)
        return date;
    char iso[48];
    std::snprintf(iso, sizeof iso, "%04d-%02d-%02dT%02d:%02d:%02d", year, month, day, hour, minute, second);
    std::string out = iso;
    if (tz == 'Z' || ((tz == '+' || tz == '-') && tzHour == 0 && tzMinute == 0)) {
        out += 'Z';
    } else if (tz == '+' || tz == '-') {
        std::snprintf(iso, sizeof iso, "%c%02d:%02d", tz, tzHour, tzMinute);
        out += iso;
    }
    return out;
}

std::vector<std::string> InfosHeader(const OutputOptions& options) {
    std::vector<std::string> cells;
    for (const Column& column : kColumns)
        if (options.*column.chosen) cells.push_back(column.header);
    return cells;
}

std::vector<std::string> InfosRow(const OutputOptions& options, const std::string& path, PDFDoc* document) {
    std::vector<std::string> cells;
    const bool open = document && document->isOk();
    for (const Column& column : kColumns) {
        if (!(options.*column.chosen)) continue;
        std::string cell;
        const bool OutputOptions::*chosen = column.chosen;
        if (chosen == &OutputOptions::infoFileName) {
            cell = SafeCell(BytesToUtf8(path));
        } else if (!open) {
            // A document that did not open still gets its row, named.
        } else if (chosen == &OutputOptions::infoFileSize) {
            BaseStream* stream = document->getBaseStream();
            if (stream) cell = std::to_string(static_cast<long long>(stream->getLength()));
        } else if (chosen == &OutputOptions::infoTitle) {
            cell = InfoText(document->getDocInfoTitle());
        } else if (chosen == &OutputOptions::infoSubject) {
            cell = InfoText(document->getDocInfoSubject());
        } else if (chosen == &OutputOptions::infoKeywords) {
            cell = InfoText(document->getDocInfoKeywords());
        } else if (chosen == &OutputOptions::infoAuthor) {
            cell = InfoText(document->getDocInfoAuthor());
        } else if (chosen == &OutputOptions::infoCreator) {
            cell = InfoText(document->getDocInfoCreator());
        } else if (chosen == &OutputOptions::infoProducer) {
            cell = InfoText(document->getDocInfoProducer());
        } else if (chosen == &OutputOptions::infoCreation) {
            cell = InfoDate(document->getDocInfoCreatDate());
        } else if (chosen == &OutputOptions::infoModification) {
            cell = InfoDate(document->getDocInfoModDate());
        } else if (chosen == &OutputOptions::infoOptimization) {
            cell = YesNo(document->isLinearized());
        } else if (chosen == &OutputOptions::infoVersion) {
            cell = std::to_string(document->getPDFMajorVersion()) + "." + std::to_string(document->getPDFMinorVersion());
        } else if (chosen == &OutputOptions::infoPageSize) {
            if (document->getNumPages() >= 1)
                cell = Points(document->getPageCropWidth(1)) + " x " + Points(document->getPageCropHeight(1));
        } else if (chosen == &OutputOptions::infoEncrypted) {
            cell = YesNo(document->isEncrypted());
        } else if (chosen == &OutputOptions::infoTagged) {
            Catalog* catalog = document->getCatalog();
            cell = YesNo(catalog && (catalog->getMarkInfo() & Catalog::markInfoMarked));
        }
        cells.push_back(cell);
    }
    return cells;
}

std::string CsvLine(const std::vector<std::string>& cells) {
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line += ',';
        const std::string& cell = cells[i];
        if (cell.find_first_of(",\"\r\n") == std::string::npos) {
            line += cell;
            continue;
        }
        line += '"';
        for (char c : cell) {
            if (c == '"') line += '"';
            line += c;
        }
        line += '"';
    }
    line += "\r\n";
    return line;
}

std::string InfosTableStart(const OutputOptions& options) { return kUtf8ByteOrderMark + CsvLine(InfosHeader(options)); }
