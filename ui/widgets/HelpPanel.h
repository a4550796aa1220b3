#pragma once

#include <QFrame>

#include <array>
#include <functional>

class QLabel;

namespace kwizmar {

// The pale-yellow help panel (HP) with its three lines H1 … H3. It floats over
// the whole main window; a mouse move over it reports back so it can hide.
class THelpPanel final : public QFrame {
public:
    explicit THelpPanel(QWidget* parent);

    // Fills the lines; an empty third line is hidden. Sizes the panel to its
    // visible lines, no wider than `maxWidth`: a longer line wraps.
    void SetLines(const QString& h1, const QString& h2, const QString& h3, int maxWidth);
    void OnMouseMove(std::function<void()> handler) { onMove_ = std::move(handler); }

    std::array<QLabel*, 3> H{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    std::function<void()> onMove_;
};

} // namespace kwizmar
