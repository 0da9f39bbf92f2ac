#include "support/ui/WindowFixture.h"

#include "text/render/RotatedText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace qrb::test {

std::filesystem::path WindowFixture::library(const std::string& name, int count, int width,
                                             int height) {
    QrbFixture lib;
    for (int i = 1; i <= count; ++i) {
        const Rgb colour{std::uint8_t(i * 37), std::uint8_t(i * 11), std::uint8_t(255 - i)};
        lib.addTile(
            0x00000000u + std::uint32_t(i), FixtureImage::of(pattern(width, height, i)),
            FixtureImage::of(solid(std::max(1, width / 2), std::max(1, height / 2), colour)));
    }
    return lib.writeTo(dir / name);
}

void WindowFixture::open(const std::filesystem::path& path) {
    platform.dialogs->answers.push_back(q(path));
    window->files().openLibrary();
}

void WindowFixture::resizeClient(int w, int h) {
    window->resize(w, h + window->height() - window->ui().client->height());
    ASSERT_EQ(window->ui().client->size(), QSize(w, h));
}

void WindowFixture::click(QWidget* w, QPoint at, Qt::MouseButton button,
                          Qt::KeyboardModifiers modifiers) {
    const QPointF local(at);
    const QPointF global(w->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, modifiers);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton, modifiers);
    QApplication::sendEvent(w, &release);
}

void WindowFixture::key(QWidget* w, int key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(w, &release);
}

void WindowFixture::press(int i, Qt::KeyboardModifiers modifiers) {
    const RowGeometry g = window->document().strip().rowGeometry(i);
    const QPoint at(int((g.fullLeft + g.fullWidth / 2) / 15),
                    ui().strip->toPixelsY(g.fullTop + g.fullHeight / 2));
    click(ui().strip, at, Qt::LeftButton, modifiers);
}

QString WindowFixture::panel(int i) const {
    return window->ui().statusPanels->panelText(i);
}

QRect WindowFixture::inClient(const QWidget* w) const {
    return QRect(w->mapTo(ui().client, QPoint()), w->size());
}

QImage WindowFixture::lettered(QImage base, const QString& text, int angle, int x, int y) const {
    // In the style the document has now.
    Placement placement = window->document().placement();
    placement.text = text;
    placement.x = std::int16_t(x);
    placement.y = std::int16_t(y);
    if (angle == 0)
        placement.resetAngle();
    else
        placement.setAngle(angle);
    drawPlacement(base, placement);
    return base;
}

void WindowFixture::makeUnsaved() {
    Document& document = window->document();
    const int current = document.currentTile();
    document.addTile();
    document.deleteTile(document.tileCount());
    if (current != 0)
        document.showSelectedTile(current);
}

} // namespace qrb::test
