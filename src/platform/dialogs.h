// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>

class QWidget;

/// Modal message and input boxes. Tests record the calls and answer them.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    /// A box with one OK button.
    virtual void message(QMessageBox::Icon icon, const QString &text, const QString &caption) = 0;
    /// A single-line input box; Cancel gives an empty text.
    virtual QString input(const QString &prompt, const QString &title) = 0;
};

/// Real boxes, modal to the application.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent = nullptr)
        : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    void message(QMessageBox::Icon icon, const QString &text, const QString &caption) override;
    QString input(const QString &prompt, const QString &title) override;

private:
    QWidget *m_parent;
};

/// Records every box and answers input boxes from a queue.
class FakeDialogs final : public Dialogs {
public:
    struct Shown {
        QMessageBox::Icon icon;
        QString text;
        QString caption;
    };
    struct Asked {
        QString prompt;
        QString title;
    };
    void message(QMessageBox::Icon icon, const QString &text, const QString &caption) override {
        messages.append({icon, text, caption});
    }
    QString input(const QString &prompt, const QString &title) override {
        inputs.append({prompt, title});
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QList<Shown> messages;
    QList<Asked> inputs;
    QList<QString> answers;
};
