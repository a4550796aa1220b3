#pragma once

#include "AboutLogic.h"
#include "Glyphs.h"
#include "QtDownloader.h"
#include "QtShellOpen.h"

#include <QStyle>
#include <QTimer>
#include <QWidget>

#include <memory>

class QAbstractButton;
class QLabel;
class QToolButton;

namespace kwizmar {

// The about window: the program's picture and version, the maker's links, the
// help page, and once per run the check for a newer version.
class TF_About final : public QWidget {
public:
    // `shell` opens the links; the system's "open" action when null.
    explicit TF_About(IShellOpen* shell = nullptr, QWidget* parent = nullptr);
    ~TF_About() override;

    const TF_AboutLogic& Logic() const { return *logic_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Act(void (TF_AboutLogic::*operation)());
    void Render();
    QLabel* Label(const char* name, bool bold);
    QAbstractButton* Link(const char* name, void (TF_AboutLogic::*click)());
    void DrawPictures();
    QToolButton* Button(const char* name, TGlyph glyph, void (TF_AboutLogic::*click)());

    TQtDownloader downloader_;
    TQtShellOpen systemShell_;
    // Label widths as QLabel sizes its text, which is a pixel or so wider than
    // the text's advance.
    class TLabelMeasure final : public ITextMeasure {
    public:
        int TextWidth(std::string_view utf8, const TFontSpec& font) const override;
    };
    TLabelMeasure measure_;
    std::unique_ptr<TF_AboutLogic> logic_;
    QTimer Timer_SzukamPracy;
};

} // namespace kwizmar
