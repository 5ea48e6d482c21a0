// The designer's object toolbar.
#include "reports/designer/form/ObjectToolbar.h"

#include "platform/paint/Paint.h"
#include "reports/model/ReportElement.h"
#include "reports/model/ReportTables.h"
#include "reports/preview/ReportPanels.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QToolButton>

namespace reports::designer {

namespace {

constexpr std::array<const char*, 7> lineHints = {"Levá čára", "Horní čára", "Pravá čára", "Dolní čára",
                                                  "Šikmá čára zdola nahoru", "Šikmá čára shora dolů", "Elipsa"};
constexpr std::array<const char*, 7> lineGlyphs = {"▏", "▔", "▕", "▁", "╱", "╲", "◯"};
constexpr std::array<const char*, 8> fillStyles = {"plné", "prázdné", "vodorovné", "svislé",
                                                   "šikmé F", "šikmé B", "svis/vod", "šikmé"};
constexpr int fillStyleItemHeight = 40;

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

QHBoxLayout* rowOf(QWidget* widget)
{
    auto* row = new QHBoxLayout(widget);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(2);
    return row;
}

// A checkable flat button for one line flag.
QToolButton* lineButton(QWidget* parent, const QString& name, int flag)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text(lineGlyphs[size_t(flag)]));
    button->setToolTip(text(lineHints[size_t(flag)]));
    button->setCheckable(true);
    button->setAutoRaise(true);
    parent->layout()->addWidget(button);
    return button;
}

// The 16 template colours, each with its swatch.
QComboBox* colorBox(QWidget* parent, const char* name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    const QStringList names = colorNames();
    for (int i = 0; i < names.size(); ++i) {
        QPixmap swatch(12, 12);
        swatch.fill(paint::toQColor(ColorIndexTable[size_t(i)]));
        box->addItem(QIcon(swatch), names[i]);
    }
    parent->layout()->addWidget(box);
    return box;
}

QSpinBox* spinBox(QWidget* parent, const char* name, int minimum, int maximum)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(minimum, maximum);
    parent->layout()->addWidget(box);
    return box;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const char* caption)
{
    auto* box = new QCheckBox(text(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    parent->layout()->addWidget(box);
    return box;
}

// CBRamStyl's items: 40 pixels high, each a rectangle filled in its style with black.
class FillStyleDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), fillStyleItemHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->fillRect(option.rect, option.palette.brush(option.state & QStyle::State_Selected
                                                                ? QPalette::Highlight : QPalette::Base));
        painter->setPen(Qt::black);
        painter->setBrush(paint::makeBrush(0, paint::brushStyleFromOrdinal(index.row())));
        painter->drawRect(option.rect.adjusted(3, 3, -4, -4));
    }
};

} // namespace

void PictureFileBox::showPopup()
{
    if (beforePopup) beforePopup();
    QComboBox::showPopup();
}

ObjectToolbar::ObjectToolbar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PanelObjektu"));
    NotebookObjektu = new QStackedWidget(this);
    NotebookObjektu->setObjectName(QStringLiteral("NotebookObjektu"));
    addPage("Prazdny");
    buildTexts(addPage("Texty"));
    PanelCar = new QWidget(this);
    PanelCar->setObjectName(QStringLiteral("PanelCar"));
    rowOf(PanelCar)->setContentsMargins(0, 0, 0, 0);
    for (int flag = 0; flag < int(SBCar.size()); ++flag) {
        // The seventh button's name is spelt so in the form.
        const QString name = flag == 6 ? QStringLiteral("SbCar7") : QStringLiteral("SBCar%1").arg(flag + 1);
        SBCar[size_t(flag)] = lineButton(PanelCar, name, flag);
        connect(SBCar[size_t(flag)], &QToolButton::clicked, this, [this, flag](bool on) { emit lineFlagToggled(flag, on); });
    }
    buildLines(addPage("Cary"));
    buildFrames(addPage("Ramy"));
    buildPicture(addPage("Obraz"));
    buildRtf(addPage("RTF"));

    EditText = new QLineEdit(this);
    EditText->setObjectName(QStringLiteral("EditText"));
    EditText->installEventFilter(this);
    connect(EditText, &QLineEdit::textEdited, this, [this](const QString& typed) {
        m_textPending = true;
        emit textEdited(typed);
    });
    connect(EditText, &QLineEdit::returnPressed, this, &ObjectToolbar::commitPendingText);
    buildSizePanel();

    auto* row = rowOf(this);
    row->addWidget(NotebookObjektu);
    row->addWidget(EditText, 1);
    row->addWidget(PanelRozmeru);
    row->addWidget(PanelSouradnicX);
    row->addWidget(PanelSouradnicY);
    enableControls(false);
}

QWidget* ObjectToolbar::addPage(const char* name)
{
    auto* page = new QWidget(NotebookObjektu);
    page->setObjectName(QString::fromLatin1(name));
    rowOf(page)->addStretch(1);
    NotebookObjektu->addWidget(page);
    return page;
}

void ObjectToolbar::buildTexts(QWidget* page)
{
    auto* row = static_cast<QHBoxLayout*>(page->layout());
    for (int side = 0; side < int(SBCarT.size()); ++side) {
        SBCarT[size_t(side)] = lineButton(page, QStringLiteral("SBCarT%1").arg(side + 1), side);
        connect(SBCarT[size_t(side)], &QToolButton::clicked, this, [this, side](bool on) { emit textFrameLineToggled(side, on); });
    }
    CBZarovnani = new QComboBox(page);
    CBZarovnani->setObjectName(QStringLiteral("CBZarovnani"));
    CBZarovnani->addItems({QStringLiteral("Vlevo"), QStringLiteral("Vpravo"), QStringLiteral("Uprostřed")});
    row->addWidget(CBZarovnani);
    connect(CBZarovnani, &QComboBox::activated, this, &ObjectToolbar::alignmentChanged);
    SBPismo = new QToolButton(page);
    SBPismo->setObjectName(QStringLiteral("SBPismo"));
    SBPismo->setText(QStringLiteral("Písmo..."));
    SBPismo->setToolTip(QStringLiteral("Písmo..."));
    row->addWidget(SBPismo);
    connect(SBPismo, &QToolButton::clicked, this, &ObjectToolbar::fontDialogRequested);
}

void ObjectToolbar::buildRtf(QWidget* page)
{
    for (int side = 0; side < int(SBCarR.size()); ++side) {
        SBCarR[size_t(side)] = lineButton(page, QStringLiteral("SBCarR%1").arg(side + 1), side);
        connect(SBCarR[size_t(side)], &QToolButton::clicked, this, [this, side](bool on) { emit rtfFrameLineToggled(side, on); });
    }
    CbZarBlok = checkBox(page, "CbZarBlok", "Do bloku");
    CbPromVys = checkBox(page, "CbPromVys", "Proměnná výška");
    connect(CbZarBlok, &QCheckBox::clicked, this, &ObjectToolbar::justifyToggled);
    connect(CbPromVys, &QCheckBox::clicked, this, &ObjectToolbar::variableHeightToggled);
}

void ObjectToolbar::buildLines(QWidget* page)
{
    CBBarvaCary = colorBox(page, "CBBarvaCary");
    CBStylCary = new QComboBox(page);
    CBStylCary->setObjectName(QStringLiteral("CBStylCary"));
    CBStylCary->addItems({QStringLiteral("plná"), QStringLiteral("čárkovaná"), QStringLiteral("tečkovaná"),
                          QStringLiteral("čerchovaná")});
    page->layout()->addWidget(CBStylCary);
    SBSirkaCary = spinBox(page, "SBSirkaCary", 1, 16);
    connect(CBBarvaCary, &QComboBox::activated, this, &ObjectToolbar::penColorChanged);
    connect(CBStylCary, &QComboBox::activated, this, &ObjectToolbar::penStyleChanged);
    connect(SBSirkaCary, &QSpinBox::valueChanged, this, &ObjectToolbar::penWidthChanged);
}

void ObjectToolbar::buildFrames(QWidget* page)
{
    CBRamBarvaOkr = colorBox(page, "CBRamBarvaOkr");
    SERamSirOkr = spinBox(page, "SERamSirOkr", 0, 8);
    CBRamBarvaVypl = colorBox(page, "CBRamBarvaVypl");
    CBRamStyl = new QComboBox(page);
    CBRamStyl->setObjectName(QStringLiteral("CBRamStyl"));
    for (const char* style : fillStyles) CBRamStyl->addItem(text(style));
    CBRamStyl->setItemDelegate(new FillStyleDelegate(CBRamStyl));
    page->layout()->addWidget(CBRamStyl);
    connect(CBRamBarvaOkr, &QComboBox::activated, this, &ObjectToolbar::framePenColorChanged);
    connect(SERamSirOkr, &QSpinBox::valueChanged, this, &ObjectToolbar::framePenWidthChanged);
    connect(CBRamBarvaVypl, &QComboBox::activated, this, &ObjectToolbar::fillColorChanged);
    connect(CBRamStyl, &QComboBox::activated, this, &ObjectToolbar::fillStyleChanged);
}

void ObjectToolbar::buildPicture(QWidget* page)
{
    CBObrazFile = new PictureFileBox(page);
    CBObrazFile->setObjectName(QStringLiteral("CBObrazFile"));
    CBObrazFile->setEditable(true);
    CBObrazFile->setInsertPolicy(QComboBox::NoInsert);
    CBObrazFile->setMinimumContentsLength(16);
    CBObrazFile->beforePopup = [this] { emit pictureListRequested(); };
    page->layout()->addWidget(CBObrazFile);
    CBObrStretch = checkBox(page, "CBObrStretch", "Přizpůsobit");
    CBObrPomer = checkBox(page, "CBObrPomer", "Zachovat poměr");
    connect(CBObrazFile, &QComboBox::textActivated, this, &ObjectToolbar::pictureFileChosen);
    connect(CBObrStretch, &QCheckBox::clicked, this, [this](bool on) {
        CBObrPomer->setVisible(on);
        emit stretchToggled(on);
    });
    connect(CBObrPomer, &QCheckBox::clicked, this, &ObjectToolbar::keepAspectToggled);
}

void ObjectToolbar::buildSizePanel()
{
    PanelRozmeru = new QWidget(this);
    PanelRozmeru->setObjectName(QStringLiteral("PanelRozmeru"));
    rowOf(PanelRozmeru);
    const std::array<const char*, 4> names = {"EditX", "EditY", "EditW", "EditH"};
    const std::array<const char*, 4> hints = {"Levý okraj", "Horní okraj", "Šířka", "Výška"};
    const std::array<int, 4> lengths = {4, 4, 4, 3};
    std::array<QLineEdit**, 4> boxes = {&EditX, &EditY, &EditW, &EditH};
    for (int box = sbX; box <= sbH; ++box) {
        auto* edit = new QLineEdit(PanelRozmeru);
        edit->setObjectName(QString::fromLatin1(names[size_t(box)]));
        edit->setToolTip(text(hints[size_t(box)]));
        edit->setMaxLength(lengths[size_t(box)]);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 8);
        PanelRozmeru->layout()->addWidget(edit);
        connect(edit, &QLineEdit::returnPressed, this, [this, box, edit] { emit sizeTyped(box, edit->text()); });
        *boxes[size_t(box)] = edit;
    }
    SBPrenesP = new TSestButton(PanelRozmeru);
    SBPrenesP->setObjectName(QStringLiteral("SBPrenesP"));
    SBPrenesP->setToolTip(QStringLiteral("Přenést dopředu"));
    SBPrenesP->setText(QStringLiteral("▲"));
    SBPrenesZ = new TSestButton(PanelRozmeru);
    SBPrenesZ->setObjectName(QStringLiteral("SBPrenesZ"));
    SBPrenesZ->setToolTip(QStringLiteral("Přesunout dozadu"));
    SBPrenesZ->setText(QStringLiteral("▼"));
    PanelRozmeru->layout()->addWidget(SBPrenesP);
    PanelRozmeru->layout()->addWidget(SBPrenesZ);
    connect(SBPrenesP, &QToolButton::clicked, this, &ObjectToolbar::frontRequested);
    connect(SBPrenesZ, &QToolButton::clicked, this, &ObjectToolbar::backRequested);

    for (QLabel** panel : {&PanelSouradnicX, &PanelSouradnicY}) {
        *panel = new QLabel(this);
        (*panel)->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        (*panel)->setAlignment(Qt::AlignCenter);
        (*panel)->setMinimumWidth((*panel)->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 8);
    }
    PanelSouradnicX->setObjectName(QStringLiteral("PanelSouradnicX"));
    PanelSouradnicY->setObjectName(QStringLiteral("PanelSouradnicY"));
}

void ObjectToolbar::showProperties(const ElementProperties& element)
{
    m_shown = {element.rect.left(), element.rect.top(), element.rect.width(), element.rect.height()};
    m_hasShown = true;
    fillSizeBoxes();
    CBZarovnani->setCurrentIndex(element.alignment);
    for (size_t side = 0; side < SBCarT.size(); ++side) {
        SBCarT[side]->setChecked(element.lines[side]);
        SBCarR[side]->setChecked(element.lines[side]);
    }
    CbZarBlok->setChecked(element.justify);
    CbPromVys->setChecked(element.variableHeight);
    CBObrazFile->setEditText(fileNameOnly(element.pictureFile));
    CBObrStretch->setChecked(element.stretch);
    CBObrPomer->setChecked(element.keepAspect);
    CBObrPomer->setVisible(element.stretch);
    for (size_t flag = 0; flag < SBCar.size(); ++flag) SBCar[flag]->setChecked(element.lines[flag]);
    CBBarvaCary->setCurrentIndex(element.penColorIndex);
    CBStylCary->setCurrentIndex(element.penStyle);
    CBRamBarvaOkr->setCurrentIndex(element.penColorIndex);
    CBRamBarvaVypl->setCurrentIndex(element.brushColorIndex);
    CBRamStyl->setCurrentIndex(element.brushStyle);
    {
        const QSignalBlocker quietLine(SBSirkaCary);
        const QSignalBlocker quietFrame(SERamSirOkr);
        SBSirkaCary->setValue(element.penWidth);
        SERamSirOkr->setValue(element.penWidth);
    }
    EditText->setText(element.text);
    EditText->setReadOnly(!element.textEditable);
    m_textPending = false;
    showPage(objectPageOf(element.kind, element.rtf));
    enableControls(true);
}

void ObjectToolbar::showPage(ObjectPage page)
{
    if (page == opCary || page == opRamy) {
        NotebookObjektu->widget(page)->layout()->addWidget(PanelCar);
        SBCar[6]->setVisible(page == opCary);
        PanelCar->show();
    }
    NotebookObjektu->setCurrentIndex(page);
}

ObjectPage ObjectToolbar::currentPage() const
{
    return ObjectPage(NotebookObjektu->currentIndex());
}

void ObjectToolbar::enableControls(bool enabled)
{
    for (QWidget* control : std::initializer_list<QWidget*>{EditX, EditY, EditW, EditH, SBPrenesP, SBPrenesZ})
        control->setEnabled(enabled);
    if (enabled) return;
    showPage(opPrazdny);
    EditText->clear();
    EditText->setReadOnly(true);
    m_textPending = false;
}

void ObjectToolbar::setStackingEnabled(bool enabled)
{
    SBPrenesP->setEnabled(enabled);
    SBPrenesZ->setEnabled(enabled);
}

void ObjectToolbar::showPosition(int left, int top)
{
    m_shown[sbX] = left;
    m_shown[sbY] = top;
    m_hasShown = true;
    fillSizeBoxes();
}

void ObjectToolbar::showSize(int width, int height)
{
    m_shown[sbW] = width;
    m_shown[sbH] = height;
    m_hasShown = true;
    fillSizeBoxes();
}

void ObjectToolbar::restoreSizeBoxes()
{
    fillSizeBoxes();
}

void ObjectToolbar::fillSizeBoxes()
{
    const std::array<QLineEdit*, 4> boxes = {EditX, EditY, EditW, EditH};
    for (size_t box = 0; box < boxes.size(); ++box)
        boxes[box]->setText(m_hasShown ? QString::number(m_shown[box]) : QString());
}

void ObjectToolbar::showCoordinates(int x, int y)
{
    PanelSouradnicX->setText(x == -1 ? QString() : QString::number(x));
    PanelSouradnicY->setText(y == -1 ? QString() : QString::number(y));
}

void ObjectToolbar::setPictureFiles(const QStringList& files)
{
    const QString shown = CBObrazFile->currentText();
    const QSignalBlocker quiet(CBObrazFile);
    CBObrazFile->clear();
    CBObrazFile->addItems(files);
    CBObrazFile->setEditText(shown);
}

void ObjectToolbar::commitPendingText()
{
    if (!m_textPending) return;
    m_textPending = false;
    emit textCommitted(EditText->text());
}

bool ObjectToolbar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == EditText && event->type() == QEvent::FocusOut) commitPendingText();
    return QWidget::eventFilter(watched, event);
}

} // namespace reports::designer
