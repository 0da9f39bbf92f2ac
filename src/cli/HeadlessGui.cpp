#include "cli/HeadlessGui.h"

#include <cstdio>

namespace qrb::cli {

namespace {

void quiet(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "qrbtool: %s\n", qPrintable(text));
    }
}

} // namespace

HeadlessGui::HeadlessGui() {
    if (QCoreApplication::instance() == nullptr) {
        previous_ = qInstallMessageHandler(quiet);
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_.emplace(argc_, argv_);
    }
}

HeadlessGui::~HeadlessGui() {
    if (app_) {
        app_.reset();
        qInstallMessageHandler(previous_);
    }
}

} // namespace qrb::cli
