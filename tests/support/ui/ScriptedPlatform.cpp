#include "support/ui/ScriptedPlatform.h"

namespace qrb::test {

std::optional<QString> ScriptedDialogs::next(Kind kind, const FileDialogRequest& request) {
    requests.push_back(Request{kind, request});
    if (answers.empty())
        return std::nullopt;
    std::optional<QString> answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::openFile(const FileDialogRequest& request) {
    return next(Kind::Open, request);
}

std::optional<QString> ScriptedDialogs::saveFile(const FileDialogRequest& request) {
    return next(Kind::Save, request);
}

std::optional<FontSettings> ScriptedDialogs::chooseFont(const FontDialogRequest&) {
    requests.push_back(Request{Kind::Font, {}});
    if (fontAnswers.empty())
        return std::nullopt;
    auto answer = fontAnswers.front();
    fontAnswers.pop_front();
    return answer;
}

std::optional<ColourValue> ScriptedDialogs::chooseColour(ColourValue initial) {
    requests.push_back(Request{Kind::Colour, {}, initial});
    if (colourAnswers.empty())
        return std::nullopt;
    auto answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
}

bool ScriptedMessages::askYesNo(const QString& text, const QString& caption, MessageIcon icon) {
    shown.push_back(Shown{text, caption, icon, true});
    if (answers.empty())
        return false;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedMessages::inform(const QString& text, const QString& caption, MessageIcon icon) {
    shown.push_back(Shown{text, caption, icon, false});
}

int ScriptedMessages::count(const QString& part) const {
    int n = 0;
    for (const Shown& s : shown)
        n += s.text.contains(part) ? 1 : 0;
    return n;
}

} // namespace qrb::test
