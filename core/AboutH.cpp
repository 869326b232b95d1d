#include "core/AboutH.h"

#include <QLinearGradient>
#include <QPainter>

TAboutBox* AboutBox = nullptr;

// A field under the sky with furrows running to the horizon and the sun above.
QImage AboutLogo() {
    QImage logo(96, 96, QImage::Format_RGB32);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 48);
    sky.setColorAt(0, QColor(90, 150, 220));
    sky.setColorAt(1, QColor(190, 220, 245));
    p.fillRect(0, 0, 96, 48, sky);
    p.fillRect(0, 48, 96, 48, QColor(70, 140, 50));
    p.setPen(QPen(QColor(150, 190, 70), 3));
    for (int x = -96; x <= 192; x += 24)
        p.drawLine(48, 48, x, 96);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 200, 40));
    p.drawEllipse(QPoint(70, 22), 12, 12);
    return logo;
}

TAboutBox::TAboutBox(db::Session&) {
    SetCaption("About");
    SetBorderStyle(ui::bsDialog);
    SetPosition(ui::poScreenCenter);
    SetClientSize(330, 210);
    Panel1 = new ui::TPanel(this);
    Panel1->SetBounds(8, 8, 314, 155);
    Panel1->SetBevelOuter(ui::bvLowered);
    ProgramIcon = new ui::TImage(Panel1);
    ProgramIcon->SetBounds(8, 8, 96, 96);
    ProgramIcon->SetPicture(AboutLogo());
    ProductName = new ui::TLabel(Panel1, "Dolvaren - Gazdálkodási Napló");
    ProductName->SetBounds(112, 16, 196, 18);
    ProductName->SetBold(true);
    Version = new ui::TLabel(Panel1, "Verzió : 3.05");
    Version->SetBounds(112, 44, 196, 18);
    Comments = new ui::TLabel(Panel1, "Linux változat");
    Comments->SetBounds(8, 116, 298, 32);
    Comments->SetWordWrap(true);
    OKButton = new ui::TButton(this, "OK");
    OKButton->SetBounds(127, 174, 75, 26);
    OKButton->SetDefault(true);
    OKButton->SetModalResult(ui::mrOk);
    SetKeyPreview(true);
    OnKeyPress = Handler(&TAboutBox::FormKeyPress);
}

void TAboutBox::FormKeyPress(TObject*, TKey& Key) {
    if (Key != ui::keyEnter)
        return;
    OKButton->Click();
    Key = ui::keyNone;
}
