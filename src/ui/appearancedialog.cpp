// SPDX-License-Identifier: MIT
#include "ui/appearancedialog.h"

#include "ui/dialogframe.h"

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

QComboBox *newCombo(const char *name, const QStringList &items, const QString &initial) {
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

QLabel *label(const char16_t *text, QWidget *buddy) {
    auto *shown = new QLabel(QString::fromUtf16(text));
    shown->setBuddy(buddy);
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
    , cmbFColor(newCombo("cmbFColor", namesOf(Colors), QStringLiteral("黑色")))
    , cmbBColor(newCombo("cmbBColor", namesOf(Colors), QStringLiteral("白色")))
    , cmbFont(newCombo("cmbFont", QFontDatabase::families(), QStringLiteral("宋体")))
    , cmbStyle(newCombo("cmbStyle", namesOf(Styles), QStringLiteral("常规")))
    , cmbSize(newCombo("cmbSize", sizeNames(), QStringLiteral("9")))
    , txtPre(named(new QLineEdit(QStringLiteral("Zelvo工作室，abc")), "txtPre"))
    , m_target(target) {
    setObjectName(QStringLiteral("frmSetSkin"));
    setWindowTitle(QStringLiteral("文本管理界面设置"));
    // Font names are long; the open list may be wider than the box.
    cmbFont->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // The default appearance of a text box: the desktop's font and colours,
    // whatever the dialog itself uses.
    txtPre->setFont(QApplication::font(txtPre));
    txtPre->setPalette(QApplication::palette(txtPre));
    txtPre->setMinimumSize(352, 116);

    auto *preview = new QGroupBox(QStringLiteral(" 预览 "));
    (new QVBoxLayout(preview))->addWidget(txtPre);
    auto *outer = new QGroupBox;
    auto *grid = new QGridLayout(outer);
    grid->addWidget(label(u"字体颜色：", cmbFColor), 0, 0);
    grid->addWidget(cmbFColor, 0, 1);
    grid->addWidget(label(u"背景颜色：", cmbBColor), 0, 2);
    grid->addWidget(cmbBColor, 0, 3);
    grid->addWidget(label(u"字体", cmbFont), 1, 0, 1, 2);
    grid->addWidget(label(u"字形", cmbStyle), 1, 2);
    grid->addWidget(label(u"字号", cmbSize), 1, 3);
    grid->addWidget(cmbFont, 2, 0, 1, 2);
    grid->addWidget(cmbStyle, 2, 2);
    grid->addWidget(cmbSize, 2, 3);
    grid->addWidget(preview, 3, 0, 1, 4);

    frameDialog(this, outer, "cmdApply",
                {cmbFColor, cmbBColor, cmbFont, cmbStyle, cmbSize, txtPre});

    connect(cmbFont, &QComboBox::activated, this, &AppearanceDialog::fontChosen);
    connect(cmbStyle, &QComboBox::activated, this, &AppearanceDialog::styleChosen);
    connect(cmbSize, &QComboBox::activated, this, &AppearanceDialog::sizeTyped);
    connect(cmbSize, &QComboBox::editTextChanged, this, &AppearanceDialog::sizeTyped);
    connect(cmbFColor, &QComboBox::activated, this, &AppearanceDialog::textColorChosen);
    connect(cmbBColor, &QComboBox::activated, this, &AppearanceDialog::backColorChosen);
    connect(this, &QDialog::accepted, this, &AppearanceDialog::applyToTarget);
}

void AppearanceDialog::fontChosen() {
    QFont font = txtPre->font();
    font.setFamily(cmbFont->currentText());
    txtPre->setFont(font);
}

void AppearanceDialog::styleChosen() {
    if (const auto style = findNamed(Styles, cmbStyle->currentText()); style != std::end(Styles)) {
        QFont font = txtPre->font();
        font.setBold(style->bold);
        font.setItalic(style->italic);
        txtPre->setFont(font);
    }
}

void AppearanceDialog::sizeTyped() {
    if (const auto size = sizeOfText(cmbSize->currentText())) {
        QFont font = txtPre->font();
        font.setPointSizeF(*size);
        txtPre->setFont(font);
    }
}

void AppearanceDialog::textColorChosen() {
    if (const auto color = findNamed(Colors, cmbFColor->currentText()); color != std::end(Colors))
        setColorRole(txtPre, QPalette::Text, color->color);
}

void AppearanceDialog::backColorChosen() {
    if (const auto color = findNamed(Colors, cmbBColor->currentText()); color != std::end(Colors))
        setColorRole(txtPre, QPalette::Base, color->color);
}

void AppearanceDialog::applyToTarget() {
    const QFont preview = txtPre->font();
    QFont font = m_target->font();
    font.setFamily(preview.family());
    font.setBold(preview.bold());
    font.setItalic(preview.italic());
    if (preview.pointSizeF() > 0)
        font.setPointSizeF(preview.pointSizeF());
    else if (preview.pixelSize() > 0)
        font.setPixelSize(preview.pixelSize());
    m_target->setFont(font);
    setColorRole(m_target, QPalette::Text, txtPre->palette().color(QPalette::Text));
    setColorRole(m_target, QPalette::Base, txtPre->palette().color(QPalette::Base));
}
