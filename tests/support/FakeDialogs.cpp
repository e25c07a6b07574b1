#include "FakeDialogs.h"

void FakeDialogs::systemMessage(const QString& text, const QString& title, Icon icon) {
    messages.append({Message::Kind::System, text, title, icon});
}

void FakeDialogs::appMessage(const QString& text) {
    messages.append({Message::Kind::App, text, QStringLiteral("Zirpel"), Icon::Error});
}

bool FakeDialogs::confirm(const QString& question, QPoint topLeft) {
    questions.append({question, topLeft});
    return nextConfirmAnswers.isEmpty() ? true : nextConfirmAnswers.takeFirst();
}

std::optional<QString> FakeDialogs::openFile(const QString& title, const QString& filter) {
    openTitles.append(title);
    openFilters.append(filter);
    return nextFileNames.isEmpty() ? std::nullopt : nextFileNames.takeFirst();
}

QStringList FakeDialogs::messageTexts() const {
    QStringList texts;
    for (const Message& m : messages)
        texts << m.text;
    return texts;
}

void FakeDialogs::clear() {
    messages.clear();
    questions.clear();
    openTitles.clear();
    openFilters.clear();
}
