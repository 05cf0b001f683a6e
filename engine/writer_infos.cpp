// The "Database Infos" table as a writer: begun once for a run (or one scan
// of a hot folder), a row added for each PDF, ended when the run is over.
#include <memory>

#include "engine/byte_file.h"
#include "engine/infos.h"
#include "engine/writer_makers.h"

namespace {

class InfosWriter : public Writer {
public:
    explicit InfosWriter(const OutputOptions& options) : options_(options) {}

    bool Begin(const std::string& path, PDFDoc*, std::string* error) override {
        if (!file_.Open(path, error)) return false;
        file_.Write(InfosTableStart(options_));
        return true;
    }

    bool AddPage(const PageInput& page, std::string*) override {
        file_.Write(CsvLine(InfosRow(options_, page.source, page.document)));
        return true;
    }

    bool End(std::string* error) override { return file_.Close(error); }

private:
    OutputOptions options_;
    ByteFile file_;
};

}  // namespace

std::unique_ptr<Writer> MakeInfosWriter(const OutputOptions& options) {
    return std::make_unique<InfosWriter>(options);
}
