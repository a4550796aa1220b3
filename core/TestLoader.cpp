#include "TestLoader.h"

#include "Paths.h"
#include "WrapDisplayLines.h"

#include <filesystem>
#include <system_error>

namespace kwizmar {

namespace {

void Reject(const std::string& path, TLoadedTest& loaded, TTestBoxView& box) {
    loaded.test.reset();
    ClearTestBox(box);
    box.Directory.text = path;
    box.Linia1.text = kRejectedTestText;
    box.SpeedButton3.visible = false;
    box.SpeedButton3.enabled = false;
}

} // namespace

bool HasTestFileExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return false;
    const std::string extension = path.substr(dot);
    return extension == ".ts2" || extension == ".TS2";
}

void ClearTestBox(TTestBoxView& box) {
    for (TControl* label : {&box.Directory, &box.Linia1, &box.Linia2, &box.TSName, &box.TSAutor,
                            &box.TSData, &box.TSPyt, &box.TSPkt, &box.TSSam})
        label->text.clear();
}

void LoadTestFile(const std::string& path, TLoadedTest& loaded, TTestBoxView& box,
                  const IRegionalSettings& regional, const ITextMeasure& measure) {
    if (!HasTestFileExtension(path)) {
        Reject(path, loaded, box);
        return;
    }
    TTestFile file = TTestFile::ReadFile(path);
    if (!ValidateTest(file, regional)) {
        Reject(path, loaded, box);
        return;
    }
    const TTestHeader header = file.Header();
    const std::vector<std::string> description = WrapDisplayLines(header.description, 2, measure);
    box.Directory.text = path;
    box.Linia1.text = description[0];
    box.Linia2.text = description[1];
    box.TSName.text = header.name;
    box.TSAutor.text = header.author;
    box.TSData.text = header.createdDate;
    box.TSPyt.text = header.questionCount;
    box.TSPkt.text = header.maxPoints;
    box.TSSam.text = header.selfAnswerCount;
    box.SpeedButton3.visible = true;
    box.SpeedButton3.enabled = true;
    loaded.test = std::move(file);
    // Resolved now: an exam picked up after a crash is started from another
    // folder than the one a relative path was given in.
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(PathFromUtf8(path), ec);
    loaded.path = ec ? path : Utf8FromPath(absolute.lexically_normal());
}

} // namespace kwizmar
