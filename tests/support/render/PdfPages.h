#pragma once
// Pages of a PDF drawn back into pixels by pdftoppm (poppler-utils), so that a test sees
// what a reader of the file sees. The test program defines QRB_PDFTOPPM as pdftoppm's path
// (empty when it was not found).

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <filesystem>

namespace qrb::test {

// Page `page` (1-based) of `pdf` at `dpi`; a null image (and a test failure) when it
// cannot be drawn.
inline QImage pdfPage(const std::filesystem::path& pdf, int page, int dpi) {
    const QString program = QStringLiteral(QRB_PDFTOPPM);
    if (program.isEmpty()) {
        ADD_FAILURE() << "pdftoppm is needed (poppler-utils; scripts/setup installs it)";
        return {};
    }
    const QString out = QFile::decodeName(pdf.c_str()) + QStringLiteral("-page");
    QProcess pdftoppm;
    pdftoppm.start(program, {"-r", QString::number(dpi), "-f", QString::number(page), "-l",
                             QString::number(page), "-singlefile", "-png",
                             QFile::decodeName(pdf.c_str()), out});
    pdftoppm.waitForFinished(60000);
    EXPECT_EQ(pdftoppm.exitCode(), 0) << pdftoppm.readAllStandardError().toStdString();
    QImage image(out + ".png");
    EXPECT_FALSE(image.isNull());
    QFile::remove(out + ".png");
    return image;
}

} // namespace qrb::test
