#pragma once
// The window's desktop services, scripted for tests: dialogs answer from a queue and
// record what they were asked, message boxes answer questions from a queue and record
// every message, the clipboard is a variable, help counts its openings, a preview runs a
// script on its job, the print dialog prints to a PDF file and progress dialogs run their
// work at once and can be cancelled. Nothing here ever blocks.
//
//   ScriptedPlatform platform;
//   platform.dialogs->answers.push_back(path);        // the next file dialog picks path
//   platform.dialogs->answers.push_back(std::nullopt); // the next one is cancelled
//   platform.messages->answers.push_back(true);        // the next question: Yes
//   platform.messages->answers.push_back(Answer::Cancel); // the next one: Cancel
//   platform.printing->previews.push_back([](PrintJob&) { return true; }); // accepted
//   Form2 window(platform.platform());

#include "platform/Platform.h"

#include <QPrinter>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <utility>
#include <vector>

namespace qrb::test {

// The next answer of a queue; an empty queue gives `otherwise`.
template <class T> T nextAnswer(std::deque<T>& answers, T otherwise) {
    if (answers.empty())
        return otherwise;
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

class ScriptedDialogs : public DialogBackend {
public:
    enum class Kind { Open, Save, Font, Colour };
    struct Request {
        Kind kind;
        FileDialogRequest file; // for Open and Save
        ColourValue colour = 0; // for Colour: the colour the dialog starts from
        FontDialogRequest font; // for Font
    };

    // Answers of the dialogs, in order; nullopt = cancel. An empty queue cancels.
    std::deque<std::optional<QString>> answers; // the file dialogs
    // Import Images' and Export Deck Image's choices, in order; an empty queue takes the
    // choices the dialog starts with.
    std::deque<std::optional<ImportOptions>> importAnswers;
    std::deque<std::optional<DeckOptions>> deckAnswers;
    std::vector<ImportDialogRequest> importRequests;
    std::deque<std::optional<FontSettings>> fontAnswers;
    std::deque<std::optional<ColourValue>> colourAnswers;
    std::vector<Request> requests;

    std::optional<QString> openFile(const FileDialogRequest& request) override {
        requests.push_back(Request{Kind::Open, request, 0, {}});
        return nextAnswer(answers, {});
    }
    std::optional<QString> saveFile(const FileDialogRequest& request) override {
        requests.push_back(Request{Kind::Save, request, 0, {}});
        return nextAnswer(answers, {});
    }
    // Several files: one answer holds them, one a line.
    std::optional<QStringList> openFiles(const FileDialogRequest& request) override {
        requests.push_back(Request{Kind::Open, request, 0, {}});
        const std::optional<QString> answer = nextAnswer(answers, {});
        return answer ? std::optional<QStringList>(answer->split(QLatin1Char('\n'))) : std::nullopt;
    }
    std::optional<ImportOptions> chooseImportOptions(const ImportDialogRequest& request) override {
        importRequests.push_back(request);
        return nextAnswer(importAnswers, std::optional<ImportOptions>(request.options));
    }
    std::optional<DeckOptions> chooseDeckOptions(const DeckDialogRequest& request) override {
        return nextAnswer(deckAnswers, std::optional<DeckOptions>(request.options));
    }
    std::optional<QString> chooseFolder(const FileDialogRequest& request) override {
        requests.push_back(Request{Kind::Open, request, 0, {}});
        return nextAnswer(answers, {});
    }
    std::optional<FontSettings> chooseFont(const FontDialogRequest& request) override {
        requests.push_back(Request{Kind::Font, {}, 0, request});
        return nextAnswer(fontAnswers, {});
    }
    std::optional<ColourValue> chooseColour(ColourValue initial) override {
        requests.push_back(Request{Kind::Colour, {}, initial, {}});
        return nextAnswer(colourAnswers, {});
    }
};

// A scripted answer: true is Yes, false is No, or any Answer.
struct ScriptedAnswer {
    ScriptedAnswer(bool yes) : answer(yes ? Answer::Yes : Answer::No) {}
    ScriptedAnswer(Answer a) : answer(a) {}
    Answer answer;
};

class ScriptedMessages : public MessageBoxes {
public:
    struct Shown {
        QString text;
        QString caption;
        MessageIcon icon;
        bool question;
        bool offerCancel = false;
        Answer defaultAnswer = Answer::Yes;
    };
    // Answers to questions, in order. An empty queue answers No.
    std::deque<ScriptedAnswer> answers;
    std::vector<Shown> shown;

    Answer ask(const Question& q) override {
        shown.push_back(Shown{q.text, q.caption, q.icon, true, q.offerCancel, q.defaultAnswer});
        const Answer a = nextAnswer(answers, ScriptedAnswer(false)).answer;
        // A box without Cancel has no way to give it.
        return a == Answer::Cancel && !q.offerCancel ? Answer::No : a;
    }
    void inform(const QString& text, const QString& caption, MessageIcon icon) override {
        shown.push_back(Shown{text, caption, icon, false});
    }
    // Messages whose text contains `part`.
    int count(const QString& part) const {
        return int(std::count_if(shown.begin(), shown.end(),
                                 [&](const Shown& s) { return s.text.contains(part); }));
    }
};

class ScriptedClipboard : public Clipboard {
public:
    std::optional<QImage> content;
    QByteArray tileBytes;
    int puts = 0;

    void clear() override {
        content.reset();
        tileBytes.clear();
    }
    void setImage(const QImage& image) override {
        content = image;
        tileBytes.clear();
        ++puts;
    }
    bool hasImage() const override { return content.has_value(); }
    QImage image() const override { return content.value_or(QImage()); }
    void setTiles(const QByteArray& library, const QImage& picture) override {
        content = picture;
        tileBytes = library;
        ++puts;
    }
    QByteArray tiles() const override { return tileBytes; }
};

class ScriptedHelp : public HelpViewer {
public:
    int opened = 0;
    void showContents() override { ++opened; }
};

class ScriptedPrinting : public Printing {
public:
    // What the user does in each preview, in order: the script works the job's options
    // widget as the user would and returns true to accept. An empty queue cancels.
    std::deque<std::function<bool(PrintJob&)>> previews;
    // The print dialog's answers, in order: the PDF file the printer writes, or nullopt to
    // cancel. An empty queue cancels.
    std::deque<std::optional<QString>> printers;
    int previewsShown = 0;
    int printDialogsShown = 0;
    // Changes of the job the open previews were told of.
    int refreshes = 0;

    // A preview that stays open after an accept that did not happen takes the next script.
    bool preview(PrintJob& job, const QString&, const QString&, const Accepted& accepted) override {
        ++previewsShown;
        const QMetaObject::Connection watch =
            QObject::connect(&job, &PrintJob::changed, [this] { ++refreshes; });
        bool result = false;
        while (const auto script = nextAnswer(previews, std::function<bool(PrintJob&)>())) {
            if (!script(job))
                break;
            if (!accepted || accepted()) {
                result = true;
                break;
            }
        }
        QObject::disconnect(watch);
        return result;
    }
    bool print(PrintJob& job, const QString& documentName) override {
        ++printDialogsShown;
        const std::optional<QString> file = nextAnswer(printers, std::optional<QString>());
        if (!file)
            return false;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(*file);
        printer.setFullPage(true);
        printer.setDocName(documentName);
        printer.setPageLayout(job.pageLayout());
        job.paint(printer);
        return true;
    }
};

// Runs the work at once on the calling thread and records every report; Cancel is pressed
// at the report numbered `cancelAtReport` (from 1), or never.
class ScriptedProgress : public ProgressDialog {
public:
    struct Run {
        QString title;
        QString label;
        std::vector<std::pair<int, int>> reports; // (done, total)
    };
    std::optional<int> cancelAtReport;
    std::vector<Run> runs;

    void run(const QString& title, const QString& label, const Work& work) override {
        runs.push_back(Run{title, label, {}});
        std::stop_source cancel;
        work(
            [&](int done, int total) {
                auto& reports = runs.back().reports;
                reports.emplace_back(done, total);
                if (cancelAtReport && int(reports.size()) >= *cancelAtReport)
                    cancel.request_stop();
            },
            cancel.get_token());
    }
};

struct ScriptedPlatform {
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
    std::shared_ptr<ScriptedMessages> messages = std::make_shared<ScriptedMessages>();
    std::shared_ptr<ScriptedClipboard> clipboard = std::make_shared<ScriptedClipboard>();
    std::shared_ptr<ScriptedHelp> help = std::make_shared<ScriptedHelp>();
    std::shared_ptr<ScriptedPrinting> printing = std::make_shared<ScriptedPrinting>();
    std::shared_ptr<ScriptedProgress> progress = std::make_shared<ScriptedProgress>();

    Platform platform() const {
        return Platform{dialogs, messages, clipboard, help, printing, progress};
    }
};

} // namespace qrb::test
