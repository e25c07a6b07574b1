// Dialogs with preset answers that record what the window asked.
#pragma once

#include "core/system/Dialogs.h"

#include <QList>
#include <QStringList>

class FakeDialogs : public zirpel::Dialogs {
public:
    struct Message {
        enum class Kind { System, App } kind;
        QString text;
        QString title; // "Zirpel" for the application's box
        Icon icon = Icon::Error;
    };
    struct Question {
        QString text;
        QPoint topLeft;
    };

    void systemMessage(const QString& text, const QString& title, Icon icon) override;
    void appMessage(const QString& text) override;
    bool confirm(const QString& question, QPoint topLeft) override;
    std::optional<QString> openFile(const QString& title, const QString& filter) override;

    // Answers for the next questions, taken in order; "&Ja" when none is left.
    QList<bool> nextConfirmAnswers;
    // File names for the next open dialogs, taken in order; cancel when none is left.
    QList<std::optional<QString>> nextFileNames;

    QList<Message> messages;
    QList<Question> questions;
    QStringList openTitles;
    QStringList openFilters;

    [[nodiscard]] QStringList messageTexts() const;
    void clear();
};
