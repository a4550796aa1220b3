#pragma once

#include "Control.h"
#include "RegionalSettings.h"
#include "TestFile.h"
#include "TextMeasure.h"

#include <optional>
#include <string>

namespace kwizmar {

// The test box of the start page (" Test: ") and the "&Start" button, the
// controls that loading a test fills.
struct TTestBoxView {
    TControl Directory;
    TControl Linia1;
    TControl Linia2;
    TControl TSName;
    TControl TSAutor;
    TControl TSData;
    TControl TSPyt;
    TControl TSPkt;
    TControl TSSam;
    TControl SpeedButton3 = Hidden(); // "&Start": hidden until a test is loaded
};

// The test the main window holds, if any.
struct TLoadedTest {
    std::optional<TTestFile> test;
    std::string path; // as LoadTestFile was given it, made absolute
};

inline constexpr const char* kRejectedTestText =
    "Wskazany plik nie jest poprawnym plikiem testowym !!!";

// The extension check of the loader: ".ts2" or ".TS2" exactly.
bool HasTestFileExtension(const std::string& path);

// Reads, descrambles and validates the file at `path` and shows the outcome in
// the test box. A wrong extension or a failed check rejects the file: no test
// stays loaded and the rejection text stands in Linia1. A file that can't be
// opened throws EFOpenError and changes nothing.
void LoadTestFile(const std::string& path, TLoadedTest& loaded, TTestBoxView& box,
                  const IRegionalSettings& regional, const ITextMeasure& measure);

// Empties the labels of the test box, as when the window is created.
void ClearTestBox(TTestBoxView& box);

} // namespace kwizmar
