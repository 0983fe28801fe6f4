// SPDX-License-Identifier: MIT
#include "ui/appearancedialog.h"

#include "ui/dialogframe.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

/// The largest size a font may be given; larger sizes are refused like the
/// platform refuses them, and the size stays as it was.
constexpr qreal MaxFontSize = 2160;

/// A typed or chosen size in points, when it is a usable one.
std::optional<qreal> sizeOfText(const QString &text) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    float size = QLocale::system().toFloat(trimmed, &ok);
    if (!ok)
        size = QLocale::c().toFloat(trimmed, &ok);
    if (!ok || !std::isfinite(size) || size <= 0 || size > MaxFontSize)
        return std::nullopt;
    return qreal(size);
}

/// A box as screen readers read it: by its name (its label), with its text
/// as its value. Qt's own names a box by its text on Linux.
class NamedComboBox final : public QAccessibleWidget {
public:
    explicit NamedComboBox(QComboBox *box)
        : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? box()->currentText() : QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << showMenuAction();
    }
    void doAction(const QString &action) override {
        if (action == showMenuAction())
            box()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QComboBox *box() const { return static_cast<QComboBox *>(widget()); }
};

QAccessibleInterface *namedComboBox(const QString &className, QObject *object) {
    auto *box = qobject_cast<QComboBox *>(object);
    return className == u"QComboBox" && box ? new NamedComboBox(box) : nullptr;
}

QComboBox *newCombo(const char *name, const QStringList &items, const QString &initial) {
    static const bool readByName = [] {
        QAccessible::installFactory(namedComboBox);
        return true;
    }();
    Q_UNUSED(readByName)
    auto *box = named(new QComboBox, name);
    box->setEditable(true);
    // Typing alone never chooses: no completion and nothing added on Enter.
    box->setInsertPolicy(QComboBox::NoInsert);
    // Nor does leaving the box: it would take a typed name, or the initial
    // text, for a choice of that item. Heard first, the item is made the
    // current one quietly, so that the box has nothing left to choose.
    auto *edit = new QLineEdit;
    QObject::connect(edit, &QLineEdit::editingFinished, box, [box] {
        const int typed = box->findText(box->lineEdit()->text());
        if (typed >= 0 && typed != box->currentIndex()) {
            const QSignalBlocker quiet(box);
            box->setCurrentIndex(typed);
        }
    });
    box->setLineEdit(edit);
    box->setCompleter(nullptr);
    box->addItems(items);
    // A fixed initial text in the edit field, no item chosen.
    box->setCurrentIndex(-1);
    box->setEditText(initial);
    return box;
}

QLabel *label(const char16_t *text, QComboBox *buddy) {
    auto *shown = new QLabel(QString::fromUtf16(text));
    shown->setBuddy(buddy);
    // Screen readers read a box by its name, its field and its list too.
    const QString name = shown->text().remove(u'：');
    buddy->setAccessibleName(name);
    buddy->lineEdit()->setAccessibleName(name);
    buddy->view()->setAccessibleName(name);
    return shown;
}

void setColorRole(QWidget *widget, QPalette::ColorRole role, const QColor &color) {
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

struct NamedColor {
    const char16_t *name;
    Qt::GlobalColor color;
};
constexpr NamedColor Colors[] = {
    {u"黑色", Qt::black}, {u"白色", Qt::white}, {u"红色", Qt::red},  {u"黄色", Qt::yellow},
    {u"蓝色", Qt::blue},  {u"绿色", Qt::green}, {u"青色", Qt::cyan},
};

struct Style {
    const char16_t *name;
    bool bold;
    bool italic;
};
constexpr Style Styles[] = {
    {u"常规", false, false},
    {u"粗体", true, false},
    {u"斜体", false, true},
    {u"粗斜体", true, true},
};

template <typename Table> QStringList namesOf(const Table &table) {
    QStringList names;
    for (const auto &item : table)
        names << QString::fromUtf16(item.name);
    return names;
}

template <typename Table> auto findNamed(const Table &table, const QString &name) {
    return std::find_if(std::begin(table), std::end(table),
                        [&](const auto &item) { return name == QStringView(item.name); });
}

QStringList sizeNames() {
    QStringList sizes;
    for (int size = 1; size <= 50; ++size)
        sizes << QString::number(size);
    return sizes;
}

} // namespace

AppearanceDialog::AppearanceDialog(QWidget *target, QWidget *parent)
    : QDialog(parent)
    , m_textColor(newCombo("cmbFColor", namesOf(Colors), QStringLiteral("黑色")))
    , m_backColor(newCombo("cmbBColor", namesOf(Colors), QStringLiteral("白色")))
    , m_font(newCombo("cmbFont", QFontDatabase::families(), QStringLiteral("宋体")))
    , m_style(newCombo("cmbStyle", namesOf(Styles), QStringLiteral("常规")))
    , m_size(newCombo("cmbSize", sizeNames(), QStringLiteral("9")))
    , m_preview(named(new QLineEdit(QStringLiteral("Zelvo工作室，abc")), "txtPre"))
    , m_target(target) {
    setObjectName(QStringLiteral("frmSetSkin"));
    setWindowTitle(QStringLiteral("文本管理界面设置"));
    // Font names are long; the open list may be wider than the box.
    m_font->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // The default appearance of a text box: the desktop's font and colours,
    // whatever the dialog itself uses.
    m_preview->setFont(QApplication::font(m_preview));
    m_preview->setPalette(QApplication::palette(m_preview));
    m_preview->setMinimumSize(352, 116);

    auto *preview = new QGroupBox(QStringLiteral(" 预览 "));
    (new QVBoxLayout(preview))->addWidget(m_preview);
    auto *outer = new QGroupBox;
    auto *grid = new QGridLayout(outer);
    grid->addWidget(label(u"字体颜色：", m_textColor), 0, 0);
    grid->addWidget(m_textColor, 0, 1);
    grid->addWidget(label(u"背景颜色：", m_backColor), 0, 2);
    grid->addWidget(m_backColor, 0, 3);
    grid->addWidget(label(u"字体", m_font), 1, 0, 1, 2);
    grid->addWidget(label(u"字形", m_style), 1, 2);
    grid->addWidget(label(u"字号", m_size), 1, 3);
    grid->addWidget(m_font, 2, 0, 1, 2);
    grid->addWidget(m_style, 2, 2);
    grid->addWidget(m_size, 2, 3);
    grid->addWidget(preview, 3, 0, 1, 4);

    frameDialog(this, outer, "cmdApply",
                {m_textColor, m_backColor, m_font, m_style, m_size, m_preview});

    connect(m_font, &QComboBox::activated, this, &AppearanceDialog::fontChosen);
    connect(m_style, &QComboBox::activated, this, &AppearanceDialog::styleChosen);
    connect(m_size, &QComboBox::activated, this, &AppearanceDialog::sizeTyped);
    connect(m_size, &QComboBox::editTextChanged, this, &AppearanceDialog::sizeTyped);
    connect(m_textColor, &QComboBox::activated, this, &AppearanceDialog::textColorChosen);
    connect(m_backColor, &QComboBox::activated, this, &AppearanceDialog::backColorChosen);
    connect(this, &QDialog::accepted, this, &AppearanceDialog::applyToTarget);
}

void AppearanceDialog::fontChosen() {
    QFont font = m_preview->font();
    font.setFamily(m_font->currentText());
    m_preview->setFont(font);
}

void AppearanceDialog::styleChosen() {
    if (const auto style = findNamed(Styles, m_style->currentText()); style != std::end(Styles)) {
        QFont font = m_preview->font();
        font.setBold(style->bold);
        font.setItalic(style->italic);
        m_preview->setFont(font);
    }
}

void AppearanceDialog::sizeTyped() {
    if (const auto size = sizeOfText(m_size->currentText())) {
        QFont font = m_preview->font();
        font.setPointSizeF(*size);
        m_preview->setFont(font);
    }
}

void AppearanceDialog::textColorChosen() {
    if (const auto color = findNamed(Colors, m_textColor->currentText()); color != std::end(Colors))
        setColorRole(m_preview, QPalette::Text, color->color);
}

void AppearanceDialog::backColorChosen() {
    if (const auto color = findNamed(Colors, m_backColor->currentText()); color != std::end(Colors))
        setColorRole(m_preview, QPalette::Base, color->color);
}

void AppearanceDialog::applyToTarget() {
    const QFont preview = m_preview->font();
    QFont font = m_target->font();
    font.setFamily(preview.family());
    font.setBold(preview.bold());
    font.setItalic(preview.italic());
    if (preview.pointSizeF() > 0)
        font.setPointSizeF(preview.pointSizeF());
    else if (preview.pixelSize() > 0)
        font.setPixelSize(preview.pixelSize());
    m_target->setFont(font);
    setColorRole(m_target, QPalette::Text, m_preview->palette().color(QPalette::Text));
    setColorRole(m_target, QPalette::Base, m_preview->palette().color(QPalette::Base));
}
