// SPDX-License-Identifier: MIT
#include "ui/appearancedialog.h"

#include "ui/dialogframe.h"
#include "ui/twips.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
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

QStringList colorNames() {
    return {QStringLiteral("黑色"), QStringLiteral("白色"), QStringLiteral("红色"),
            QStringLiteral("黄色"), QStringLiteral("蓝色"), QStringLiteral("绿色"),
            QStringLiteral("青色")};
}

QStringList sizeNames() {
    QStringList sizes;
    for (int size = 1; size <= 50; ++size)
        sizes << QString::number(size);
    return sizes;
}

QColor colorOfValue(qint32 value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

} // namespace

AppearanceDialog::AppearanceDialog(QWidget *target, QWidget *parent)
    : QDialog(parent)
    , cmbFColor(newCombo("cmbFColor", colorNames(), QStringLiteral("黑色")))
    , cmbBColor(newCombo("cmbBColor", colorNames(), QStringLiteral("白色")))
    , cmbFont(newCombo("cmbFont", QFontDatabase::families(), QStringLiteral("宋体")))
    , cmbIBU(newCombo("cmbIBU",
                      {QStringLiteral("常规"), QStringLiteral("粗体"), QStringLiteral("斜体"),
                       QStringLiteral("粗斜体")},
                      QStringLiteral("常规")))
    , cmbSize(newCombo("cmbSize", sizeNames(), QStringLiteral("9")))
    , txtPre(named(new QLineEdit(QStringLiteral("Zelvo工作室，abc")), "txtPre"))
    , cmdCancel(named(new QPushButton(QStringLiteral("取消")), "cmdCancel"))
    , cmdApply(named(new QPushButton(QStringLiteral("确定")), "cmdApply"))
    , m_target(target) {
    setObjectName(QStringLiteral("frmSetSkin"));
    setWindowTitle(QStringLiteral("文本管理界面设置"));
    // Font names are long; the open list may be wider than the box.
    cmbFont->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // The default appearance of a text box: the desktop's font and colours,
    // whatever the dialog itself uses.
    txtPre->setFont(QApplication::font(txtPre));
    txtPre->setPalette(QApplication::palette(txtPre));
    txtPre->setMinimumSize(tw(5280), tw(1740));

    auto *preview = new QGroupBox(QStringLiteral(" 预览 "));
    (new QVBoxLayout(preview))->addWidget(txtPre);
    auto *outer = new QGroupBox;
    auto *grid = new QGridLayout(outer);
    grid->addWidget(label(u"字体颜色：", cmbFColor), 0, 0);
    grid->addWidget(cmbFColor, 0, 1);
    grid->addWidget(label(u"背景颜色：", cmbBColor), 0, 2);
    grid->addWidget(cmbBColor, 0, 3);
    grid->addWidget(label(u"字体", cmbFont), 1, 0, 1, 2);
    grid->addWidget(label(u"字形", cmbIBU), 1, 2);
    grid->addWidget(label(u"字号", cmbSize), 1, 3);
    grid->addWidget(cmbFont, 2, 0, 1, 2);
    grid->addWidget(cmbIBU, 2, 2);
    grid->addWidget(cmbSize, 2, 3);
    grid->addWidget(preview, 3, 0, 1, 4);

    frameDialog(this, outer, cmdCancel, cmdApply, parent);
    setTabOrder(cmdCancel, cmbFColor);
    setTabOrder(cmbFColor, cmbBColor);
    setTabOrder(cmbBColor, cmbFont);
    setTabOrder(cmbFont, cmbIBU);
    setTabOrder(cmbIBU, cmbSize);
    setTabOrder(cmbSize, txtPre);

    connect(cmbFont, &QComboBox::activated, this, &AppearanceDialog::cmbFont_Click);
    connect(cmbIBU, &QComboBox::activated, this, &AppearanceDialog::cmbIBU_Click);
    connect(cmbSize, &QComboBox::activated, this, &AppearanceDialog::cmbSize_Change);
    connect(cmbSize, &QComboBox::editTextChanged, this, &AppearanceDialog::cmbSize_Change);
    connect(cmbFColor, &QComboBox::activated, this, &AppearanceDialog::cmbFColor_Click);
    connect(cmbBColor, &QComboBox::activated, this, &AppearanceDialog::cmbBColor_Click);
    connect(this, &QDialog::accepted, this, &AppearanceDialog::cmdApply_Click);
}

void AppearanceDialog::cmbFont_Click() {
    QFont font = txtPre->font();
    font.setFamily(cmbFont->currentText());
    txtPre->setFont(font);
}

void AppearanceDialog::cmbIBU_Click() {
    struct Style {
        const char16_t *name;
        bool bold;
        bool italic;
    };
    static constexpr Style styles[] = {
        {u"常规", false, false},
        {u"粗体", true, false},
        {u"斜体", false, true},
        {u"粗斜体", true, true},
    };
    const QString text = cmbIBU->currentText();
    for (const Style &style : styles) {
        if (text == QStringView(style.name)) {
            QFont font = txtPre->font();
            font.setBold(style.bold);
            font.setItalic(style.italic);
            txtPre->setFont(font);
            return;
        }
    }
}

void AppearanceDialog::cmbSize_Change() {
    if (const auto size = sizeOfText(cmbSize->currentText())) {
        QFont font = txtPre->font();
        font.setPointSizeF(*size);
        txtPre->setFont(font);
    }
}

void AppearanceDialog::cmbFColor_Click() {
    if (const qint32 value = funSetColor(cmbFColor->currentText()); value >= 0)
        setColorRole(txtPre, QPalette::Text, colorOfValue(value));
}

void AppearanceDialog::cmbBColor_Click() {
    if (const qint32 value = funSetColor(cmbBColor->currentText()); value >= 0)
        setColorRole(txtPre, QPalette::Base, colorOfValue(value));
}

qint32 AppearanceDialog::funSetColor(const QString &txtColor) {
    struct Named {
        const char16_t *name;
        qint32 value;
    };
    static constexpr Named colors[] = {
        {u"黑色", 0x000000}, {u"红色", 0x0000FF}, {u"绿色", 0x00FF00}, {u"黄色", 0x00FFFF},
        {u"蓝色", 0xFF0000}, {u"青色", 0xFFFF00}, {u"白色", 0xFFFFFF},
    };
    for (const Named &color : colors) {
        if (txtColor == QStringView(color.name))
            return color.value;
    }
    return -1;
}

void AppearanceDialog::cmdApply_Click() {
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
