#include "app/commands/SheetSettings.h"

#include "sheet/Length.h"
#include "sheet/PageSize.h"
#include "sheet/SheetError.h"

#include <QSettings>

#include <cmath>

namespace qrb {

namespace {

const QString kPaper = QStringLiteral("printSheet/paper");
const QString kLandscape = QStringLiteral("printSheet/landscape");
const QString kMargin = QStringLiteral("printSheet/margin");
const QString kTileSize = QStringLiteral("printSheet/tileSize");
const QString kGap = QStringLiteral("printSheet/gap");
const QString kBleed = QStringLiteral("printSheet/bleed");
const QString kMarks = QStringLiteral("printSheet/marks");
const QString kCopies = QStringLiteral("printSheet/copies");

// The length stored under `key` when it is a number from `minimum` up, else `fallback`.
double storedLength(const QSettings& settings, const QString& key, double minimum,
                    double fallback) {
    bool ok = false;
    const double mm = settings.value(key).toDouble(&ok);
    return ok && std::isfinite(mm) && mm >= minimum && mm <= PageSize::kMaxMm ? mm : fallback;
}

} // namespace

SheetOptions loadSheetOptions(const QSettings& settings) {
    SheetOptions options;
    try {
        options.page = parsePageSize(settings.value(kPaper).toString().toStdString());
    } catch (const SheetError&) {
        // Keeps the default paper.
    }
    if (settings.value(kLandscape).toBool())
        options.orientation = PageOrientation::Landscape;
    options.margins =
        SheetMargins::uniform(storedLength(settings, kMargin, 0, options.margins.left));
    options.tileWidth =
        storedLength(settings, kTileSize, SheetOptions::kMinTileWidth, options.tileWidth);
    options.gap = storedLength(settings, kGap, 0, options.gap);
    options.bleed = storedLength(settings, kBleed, 0, options.bleed);
    try {
        options.marks = parseCutMarks(settings.value(kMarks).toString().toStdString());
    } catch (const SheetError&) {
        // Keeps the default marks.
    }
    bool ok = false;
    const int copies = settings.value(kCopies).toInt(&ok);
    if (ok && copies >= 1 && copies <= SheetOptions::kMaxCopies)
        options.copies = copies;
    return options;
}

void saveSheetOptions(QSettings& settings, const SheetOptions& options) {
    const std::string paper = !options.page.name.empty() ? options.page.name
                                                         : formatMm(options.page.size.width) + "x" +
                                                               formatMm(options.page.size.height);
    settings.setValue(kPaper, QString::fromStdString(paper));
    settings.setValue(kLandscape, options.orientation == PageOrientation::Landscape);
    settings.setValue(kMargin, options.margins.left);
    settings.setValue(kTileSize, options.tileWidth);
    settings.setValue(kGap, options.gap);
    settings.setValue(kBleed, options.bleed);
    constexpr const char* kMarkNames[] = {"none", "corners", "full"};
    settings.setValue(kMarks, QString::fromLatin1(kMarkNames[static_cast<int>(options.marks)]));
    settings.setValue(kCopies, options.copies);
}

} // namespace qrb
