#include "dialogs/aboutwindow.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "base/messages.h"
#include "components/hyperlinklabel.h"
#include "components/picture.h"
#include "components/windowplacement.h"

static void initAboutResources()
{
    Q_INIT_RESOURCE(about);
}

namespace arcavio {

namespace {

constexpr int kClientWidth = 324;
constexpr int kClientHeight = 483;

QFont windowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Nimbus Sans")});
    font.setPixelSize(11);
    return font;
}

QFont arialFont(bool bold, int pixels)
{
    QFont font;
    font.setFamilies(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans")});
    font.setPixelSize(pixels);
    font.setItalic(true);
    font.setBold(bold);
    return font;
}

QFrame* bevel(QWidget* parent, const char* name, QRect geometry, bool raised)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFrameStyle(QFrame::Box | (raised ? QFrame::Raised : QFrame::Sunken));
    frame->setGeometry(geometry);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    return frame;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int top, const QFont* font = nullptr)
{
    auto* line = new QLabel(text, parent);
    line->setObjectName(QLatin1String(name));
    line->setTextFormat(Qt::PlainText);
    if (font != nullptr)
        line->setFont(*font);
    line->adjustSize();
    line->move((kClientWidth - line->width()) / 2, top);
    return line;
}

HyperlinkLabel* link(QWidget* parent, const char* name, HyperlinkType type, const QString& caption,
                     const QFont* font = nullptr)
{
    auto* hyperlink = new HyperlinkLabel(parent);
    hyperlink->setObjectName(QLatin1String(name));
    if (font != nullptr)
        hyperlink->setFont(*font);
    hyperlink->setLinkType(type);
    hyperlink->setCaption(caption);
    return hyperlink;
}

// Centres a row of widgets, placed side by side, in the window.
void centreRow(std::initializer_list<QWidget*> widgets, int top)
{
    int width = 0;
    for (QWidget* w : widgets)
        width += w->width();
    int left = (kClientWidth - width) / 2;
    for (QWidget* w : widgets) {
        w->move(left, top);
        left += w->width();
    }
}

} // namespace

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent)
{
    initAboutResources();
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Arcavio 2"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(windowFont());
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setGeometry(128, 451, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    QLabel* title = label(this, "Label1", QStringLiteral("For use With Windows MAME"), 3);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Image1"));
    logo->move(40, 16);
    guarded([logo] {
        QFile file(QStringLiteral(":/about/logo.jpg"));
        if (!file.open(QIODevice::ReadOnly))
            throw FileOpenError("logo.jpg");
        const QByteArray bytes = file.readAll();
        const QImage picture = decodePicture(bytes.toStdString(), PictureFormat::Jpeg);
        logo->setPixmap(QPixmap::fromImage(picture));
        logo->resize(picture.size());
    });
    bevel(this, "Bevel1", QRect(32, 8, 257, 97), true);

    const QFont version = arialFont(true, 12);
    label(this, "Label2", QStringLiteral("ARCAVIO VERSION FINAL 2 - (R1)"), 106, &version);

    bevel(this, "Bevel2", QRect(8, 120, 305, 97), false);
    label(this, "Label3", QStringLiteral("Programmer/Programador: the Arcavio developers"), 128);
    label(this, "Label4", QStringLiteral("<<< Arcavio Team >>>"), 145);
    label(this, "Label5", QStringLiteral("By / Por: the Arcavio project"), 160);
    HyperlinkLabel* mail =
        link(this, "HyperLink1", HyperlinkType::ltEmail, QStringLiteral("arcavio@example.org"));
    centreRow({mail}, 174);
    HyperlinkLabel* site =
        link(this, "HyperLink2", HyperlinkType::ltHttp, QStringLiteral("www.example.org/arcavio"));
    centreRow({site}, 192);

    bevel(this, "Bevel3", QRect(8, 224, 305, 225), false);
    QLabel* thanksTitle =
        label(this, "Label6", QStringLiteral("Special Thanks / Agradecimentos Especiais:"), 226);
    bevel(this, "Bevel4", QRect(16, 240, 289, 41), false);

    // The thanks lines, 12 pixels apart, a little more between groups.
    const QFont thanks = arialFont(false, 11);
    QLabel* from = label(this, "Label7", QStringLiteral("From / da "), 0, &thanks);
    HyperlinkLabel* news =
        link(this, "HyperLink3", HyperlinkType::ltHttp, QStringLiteral("news.example.org"), &thanks);
    centreRow({from, news}, 245);
    label(this, "Label8", QStringLiteral("Translators, skin artists, testers and players"), 261, &thanks);

    label(this, "Label9", QStringLiteral("Thanks to the site that hosts our pages"), 284, &thanks);
    label(this, "Label10", QStringLiteral("Obrigado ao site que hospeda nossas páginas"), 296, &thanks);
    HyperlinkLabel* host =
        link(this, "HyperLink4", HyperlinkType::ltHttp, QStringLiteral("host.example.org"), &thanks);
    centreRow({host}, 308);

    label(this, "Label11", QStringLiteral("Thanks to the makers of the skin editor"), 324, &thanks);
    label(this, "Label12", QStringLiteral("Obrigado aos autores do editor de skins"), 336, &thanks);
    HyperlinkLabel* skins =
        link(this, "HyperLink5", HyperlinkType::ltHttp, QStringLiteral("skins.example.org"), &thanks);
    centreRow({skins}, 348);

    label(this, "Label13", QStringLiteral("To our friends and families, for their patience"), 364, &thanks);
    label(this, "Label14", QStringLiteral("Aos nossos amigos e famílias, pela paciência"), 376, &thanks);
    label(this, "Label15", QStringLiteral("and to everyone who still plays / e a quem ainda joga"), 388,
          &thanks);

    label(this, "Label16", QStringLiteral("Thanks to the MAME development team"), 404, &thanks);
    label(this, "Label17", QStringLiteral("Obrigado à equipe de desenvolvimento"), 416, &thanks);
    QLabel* twin = label(this, "Label18", QStringLiteral("do MAME: "), 0, &thanks);
    HyperlinkLabel* mameTeam =
        link(this, "HyperLink6", HyperlinkType::ltHttp, QStringLiteral("mamedev.org"), &thanks);
    centreRow({twin, mameTeam}, 428);

    // The two headings sit on their frames' top lines, covering them like a group title.
    for (QLabel* heading : {title, thanksTitle}) {
        heading->setAutoFillBackground(true);
        heading->raise();
    }
    ok->raise();
    ok->setFocus();
    auto* placement = new WindowPlacement(this);
    placement->centreOnScreen(WindowPlacement::Showing::Every);
}

} // namespace arcavio
