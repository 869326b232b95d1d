#include "Folap.h"

#include "AboutH.h"
#include "Adatkarbh.h"
#include "Alapadatokh.h"
#include "Settings.h"
#include "pictures.h"
#include "platform/sys/datetime.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form_helpers.h"
#include "platform/ui/progress.h"

#include <QMenuBar>
#include <QToolButton>
#include <cstdlib>
#include <stdexcept>

TFolap1* Folap1 = nullptr;

namespace {

const char* const kCaption = "Dolvaren - Gazdálkodási Napló [2009-14] 3.05";
const char* const kNoField = "xxxxxx";
const char* const kAskForMore = "Kéri további művelet felvitelét?";
const char* const kBackupQuestion =
    "Automatikus adatmentés. Az adatmentés során a BackUp tartalma fölülíródik. "
    "Engedélyezi az adatmentést?";

constexpr int kClientWidth = 867;
constexpr int kClientHeight = 54;
constexpr int kToolBarHeight = 42;
constexpr int kStripWidth = 137;
constexpr int kStripHeight = 9;
constexpr int kStripLeftmost = 1;
constexpr int kStripRightmost = 724;
constexpr ui::TKey kCtrlX = 24;

using MenuHandler = void (TFolap1::*)(ui::TObject*);

// One line of the main menu: level 0 is a menu of the bar, 1 its item, 2 an item of a
// submenu. An item with a command opens that command's form; an item with a handler
// runs the handler instead (and still follows its command's enabled state).
struct MenuLine {
    int level;
    const char* caption;
    const char* command = "";
    MenuHandler handler = nullptr;
    ui::TMenuItem* TFolap1::*member = nullptr;
    bool visible = true;
};

const MenuLine kMenu[] = {
    {0, "Műveletek"},
    {1, "Elvégzett műveletek felvitele", "TMuvadat", &TFolap1::Elvgzettmveletekfelvitele1Click,
     &TFolap1::Elvgzettmveletekfelvitele1},
    {1, "Ágazati művelet felvitele", "TAgazatimuvadat"},
    {1, "Műveletek módosítása", "TMuvModVal"},
    {1, "Művelet másolás", "Tmuvmasolo"},
    {1, "Legeltetés legelőn", "TLegeltetes"},
    {1, "Műveletek tervezése", "", nullptr, &TFolap1::Mveletektervezse1, false},
    {2, "Tervművelet rögzítése", "TMuvadat:terv"},
    {2, "Tervezett műveletek kezelése", "TTervkezeles"},
    {2, "Munkakiutalás", "TMunkautalvany"},
    {0, "Területek(hrsz) törzsadatai "},
    {1, "KET(Kötelezettségválalással érintett egybefüggő területek)", "Tket"},
    {1, "Új terület(hrsz)", "TUjtabla"},
    {1, "Területek(hrsz) módosítása", "TForm2"},
    {1, "Területek(hrsz) listája", "TTablalista"},
    {1, "Talajvizsgálatok rögzítése", "TTalajmintabev"},
    {1, "Talajvizsgálati eredmények", "TTalajmintalist"},
    {1, "Tulajdonosok", "TTulajd"},
    {1, "Talajmintavételi helyek KET-hez", "TTalamintaKet"},
    {1, "Földhasználati Terv", "Tfoldhasznterv"},
    {0, "Táblák (eddig parcellák)"},
    {1, "Új tábla kialakítása", "TUjparcellaF"},
    {1, "Új tábla meglévő alapján", "TParcAktiv"},
    {1, "Tábla módosítása", "TParcmod"},
    {1, "Táblák csoportos módosítása", "TCsoportosTablamod"},
    {1, "Tápanyag-gazdálkodási terv", "TTapterv"},
    {1, "Befolyásoló tényezők", "TParcBefTeny"},
    {1, "Táblák lekérdezése", "TParcListSzuk:0"},
    {1, "Törlés / aktiválás", "TParckezeles"},
    {0, "Ágazatok"},
    {1, "Ágazatok bővítése", "TEgyebFaj"},
    {0, "Lekérdezések  "},
    {1, "Műveleti lekérdezések", "Telvmuvlist"},
    {1, "Műveletek területek szereint", "TParcListSzuk:1"},
    {1, "Vetésforgó lekérdezés", "TProbaVForgo"},
    {1, "Mezei leltár", "TMezei"},
    {1, "Permetezési napló", "Tpermnaploszuk"},
    {1, "GAZDÁLKODÁSI NAPLÓ 2004-2009", "TGazdNaploValaszto"},
    {1, "GAZDÁLKODÁSI NAPLÓ 2009-2014", "TGN200914"},
    {1, "Gépi lekérdezés", "TGepmuvleker"},
    {1, "Hozam összesítő", "THozam"},
    {1, "Input kimutatás", "TParcInput"},
    {1, "Grafikus ágazati felosztottság", "TParcKiosztGraph"},
    {1, "Diagrammok"},
    {2, "Területek tulajdon szerint", "grafikon:1"},
    {2, "Területek hasznosítási irány szerint", "grafikon:2"},
    {2, "Területek település szerint", "grafikon:3"},
    {0, "Személyek/Készlet/Eszköz"},
    {1, "Készlet kezelés", "Tkeszletkezeles"},
    {1, "Alkalmazottak", "TSzemelyek"},
    {1, "Gépek", "TEszkozfel"},
    {1, "Gazdasági épületek", "TGazdep"},
    {1, "Készlet listázása", "TKeszlist"},
    {1, "Raktárforgalom", "TForgalom"},
    {1, "Gépek listája", "TGeplist"},
    {1, "Állatfajták", "TAllatfajta"},
    {1, "Korcsoportok", "TKorcsoportok"},
    {0, "Feljegyzések"},
    {1, "Csapadék feljegyzések", "TCsapadek"},
    {1, "Növényvédelmi megfigyelések", "TNovvedmegf"},
    {1, "Előrejelzési adatok forrása", "TElorejelforr"},
    {1, "Erőgép javítások", "TGepjavitas:true"},
    {1, "Munkagép javítások", "TGepjavitas:false"},
    {1, "Gázolaj számla összesítő", "TGazolajszlaossz"},
    {1, "Új Gázolaj számla összesítő", "TJ05"},
    {1, "Vis major esetek", "Tvismajor"},
    {0, "Alapadatok"},
    {1, "Alapadatok", "TAlapadatok"},
    {0, "Segítség"},
    {1, "Beállítások", "TAdatkarb"},
    {1, "A helyes gazdálkodásról", "", nullptr, nullptr, false},
    {1, "Fogalmak (NVT)"},
    {1, "Normálhektár átszámítás", "TNormalhek"},
    {1, "Hasznosítási kódok"},
    {1, "Szoftver készítő", "TAboutBox"},
    {1, "Súgó            F1", "", &TFolap1::Sg1Click, &TFolap1::Sg1},
    {0, "Kilépés", "", &TFolap1::Kilps1Click, &TFolap1::Kilps1},
};

// One toolbar button (a null hint is a separator); the picture is the name of one of the
// program's own pictures.
struct ButtonLine {
    ui::TToolButton* TFolap1::*member;
    const char* hint;
    const char* picture = "";
    const char* command = "";
    MenuHandler handler = nullptr;
};

const ButtonLine kSeparator{nullptr, nullptr};

const ButtonLine kToolBar[] = {
    {&TFolap1::ToolButton1, "Elvégzett műveletek", "operations", "TMuvadat",
     &TFolap1::ToolButton1Click},
    {&TFolap1::ToolButton2, "Műveletek módosítása", "modify", "TMuvModVal"},
    kSeparator,
    {&TFolap1::ToolButton3, "Új tábla felvitele", "newparcel", "TUjtabla"},
    {&TFolap1::ToolButton4, "Táblák módosítása", "parcels", "TForm2"},
    {&TFolap1::ToolButton5, "Táblák listája", "list", "TTablalista"},
    {&TFolap1::ToolButton14, "Talajvizsgálatok rögzítése", "soiltest", "TTalajmintabev"},
    kSeparator,
    {&TFolap1::ToolButton6, "Új parcella kialakítása", "newfield", "TUjparcellaF"},
    kSeparator,
    {&TFolap1::ToolButton20, "Ágazatok", "sectors", "TEgyebFaj"},
    kSeparator,
    {&TFolap1::ToolButton7, "Lista az elvégzett műveletekről", "oplist", "Telvmuvlist"},
    {&TFolap1::ToolButton10, "Permetezési napló", "spraydiary", "Tpermnaploszuk"},
    {&TFolap1::ToolButton11, "Gazdálkodási Napló UMVP", "gndiary", "TGN200914"},
    kSeparator,
    {&TFolap1::ToolButton12, "Készletkezelés", "stock", "Tkeszletkezeles"},
    {&TFolap1::ToolButton13, "Gépek", "machines", "TEszkozfel"},
    kSeparator,
    {&TFolap1::ToolButton22, "Alapadatok", "basicdata", "TAlapadatok"},
    kSeparator,
    {&TFolap1::ToolButton25, "Kilép", "exit", "", &TFolap1::ToolButton25Click},
};

bool AskForMore() {
    return ui::MessageDlg(kAskForMore, ui::mtConfirmation, ui::mbYesNo) == ui::mrYes;
}

// Columns the schema upgrade could not add are named to the user: the forms that use
// them would fail later with a less clear error.
void ShowColumnFailures(const std::vector<core::ColumnFailure>& failures) {
    if (!failures.empty())
        ui::MessageDlg(core::ColumnFailureMessage(failures), ui::mtWarning, ui::mbOK);
}

[[noreturn]] void ExitAtOnce(int code) {
    std::_Exit(code);
}

} // namespace

TFolap1::TFolap1(db::Session& session) : session_(session) {
    // Drawn as a small fixed frame, not as a tool window: on a Linux desktop a tool window
    // has no taskbar entry, and the main window must be found again behind other windows.
    SetBorderStyle(ui::bsSingle);
    setWindowFlag(Qt::WindowMinimizeButtonHint);
    SetCaption(kCaption);
    SetHelpContext(40);
    SetKeyPreview(true);
    BuildMenu();
    SetClientSize(kClientWidth, kClientHeight);
    BuildToolBar();
    BuildStrip();
    Button3 = new ui::TButton(this, "Adatbázi frissítés");
    Button3->SetVisible(false);
    Button3->OnClick = Handler(&TFolap1::Button3Click);
    Timer1 = new ui::TTimer(this, 50);
    Timer1->OnTimer = Handler(&TFolap1::Timer1Timer);
    ExitProcess = ExitAtOnce;
    OnShow = Handler(&TFolap1::FormShow);
    OnActivate = Handler(&TFolap1::FormActivate);
    OnKeyPress = Handler(&TFolap1::FormKeyPress);
    InstallCoreOpeners();
    setFixedSize(size());
}

TFolap1::~TFolap1() = default;

// --- building the window -----------------------------------------------------------------

void TFolap1::BuildMenu() {
    MainMenu1 = new ui::TMainMenu(this);
    // The captions are wider than the window in the program's usual font: a condensed
    // one and narrow items keep the whole menu on the bar.
    QFont font("DejaVu Sans Condensed");
    font.setPixelSize(11);
    MainMenu1->Bar().setFont(font);
    MainMenu1->Bar().setStyleSheet(
        "QMenuBar { spacing: 0px; } QMenuBar::item { padding: 3px 5px; }");
    ui::TMenuItem* parents[3] = {};
    for (const MenuLine& line : kMenu) {
        ui::TMenuItem* item = line.level == 0 ? MainMenu1->Add(line.caption)
                                              : parents[line.level - 1]->Add(line.caption);
        parents[line.level] = item;
        item->SetVisible(line.visible);
        if (line.member)
            this->*line.member = item;
        std::string command = line.command;
        if (line.handler)
            item->OnClick = Handler(line.handler);
        else if (!command.empty())
            item->OnClick = [this, command](TObject*) { RunCommand(command); };
        if (!command.empty())
            AddToCommand(command, item, nullptr);
    }
}

void TFolap1::BuildToolBar() {
    ToolBar1 = ui::Make<ui::TToolBar>(this, {0, 0, kClientWidth, kToolBarHeight});
    ToolBar1->SetButtonSize(39, 38);
    for (const ButtonLine& line : kToolBar) {
        if (!line.hint) {
            ToolBar1->AddSeparator();
            continue;
        }
        ui::TToolButton* button = ToolBar1->AddButton(line.hint, core::Picture(line.picture));
        if (QToolButton* widget = ToolBar1->ButtonWidget(button))
            widget->setFixedSize(39, 38);
        this->*line.member = button;
        std::string command = line.command;
        if (line.handler)
            button->OnClick = Handler(line.handler);
        else
            button->OnClick = [this, command](TObject*) { RunCommand(command); };
        if (!command.empty())
            AddToCommand(command, nullptr, button);
    }
}

void TFolap1::BuildStrip() {
    Bevel1 = ui::Make<ui::TBevel>(
        this, {0, kToolBarHeight, kClientWidth, kClientHeight - kToolBarHeight});
    Image1 =
        ui::Make<ui::TImage>(this, {stripPosition_, kToolBarHeight + 2, kStripWidth, kStripHeight});
    Image1->SetStretch(true);
    Image1->SetTransparent(true);
    Image1->SetPicture(core::Picture("strip"));
}

// --- commands ------------------------------------------------------------------------------

void TFolap1::AddToCommand(const std::string& command, ui::TMenuItem* item,
                           ui::TToolButton* button) {
    auto [slot, added] = commands_.try_emplace(command);
    if (added)
        commandOrder_.push_back(command);
    if (item) {
        slot->second.items.push_back(item);
        item->SetEnabled(static_cast<bool>(slot->second.opener));
    }
    if (button) {
        slot->second.buttons.push_back(button);
        button->SetEnabled(static_cast<bool>(slot->second.opener));
    }
}

void TFolap1::SetFormOpener(const std::string& command, std::function<void()> opener) {
    auto slot = commands_.find(command);
    if (slot == commands_.end())
        throw std::invalid_argument("The main window has no command " + command);
    slot->second.opener = std::move(opener);
    bool enabled = static_cast<bool>(slot->second.opener);
    for (ui::TMenuItem* item : slot->second.items)
        item->SetEnabled(enabled);
    for (ui::TToolButton* button : slot->second.buttons)
        button->SetEnabled(enabled);
}

bool TFolap1::HasFormOpener(const std::string& command) const {
    auto slot = commands_.find(command);
    return slot != commands_.end() && slot->second.opener;
}

std::vector<std::string> TFolap1::Commands() const {
    return commandOrder_;
}

ui::TMenuItem* TFolap1::FindMenuItem(const std::vector<std::string>& captions) const {
    ui::TMenuItem* found = nullptr;
    for (const std::string& caption : captions) {
        int count = found ? found->Count() : MainMenu1->Count();
        ui::TMenuItem* next = nullptr;
        for (int i = 0; i < count && !next; ++i) {
            ui::TMenuItem* item = found ? found->Items(i) : MainMenu1->Items(i);
            if (item->Caption() == caption)
                next = item;
        }
        if (!next)
            return nullptr;
        found = next;
    }
    return found;
}

void TFolap1::RunCommand(const std::string& command) {
    auto slot = commands_.find(command);
    if (slot != commands_.end() && slot->second.opener)
        slot->second.opener();
}

// The core's own forms, each created on demand, shown modally and freed.
void TFolap1::InstallCoreOpeners() {
    SetFormOpener("TAlapadatok", [this] { ui::ShowModalForm(Alapadatok, session_); });
    SetFormOpener("TAdatkarb", [this] { ui::ShowModalForm(Adatkarb, session_); });
    SetFormOpener("TAboutBox", [this] { ui::ShowModalForm(AboutBox, session_); });
}

// --- first show and activation -----------------------------------------------------------

void TFolap1::FormShow(TObject*) {
    if (shown_)
        return;
    shown_ = true;
    SetLeft(ui::Screen::Width() / 2 - Width() / 2);
    SetTop(0);
    lastFieldCode_ = kNoField;
    core::FixLandUseCodes(session_);
    std::optional<std::string> version = core::ReadSetting(session_, "DBVersion");
    if (!version || *version != core::kSchemaVersion)
        Button3->Click();
    ui::TProgressWindow progress(this, "Az adatbázis ellenőrzése");
    ShowColumnFailures(core::CheckStartColumns(
        session_, [&](std::size_t done, std::size_t total) { progress.Done(done, total); }));
}

// Adding columns to a large table takes a while: the progress shows. A table that
// cannot be read stops the start (core::UnreadableTable reaches the start-up's handler).
void TFolap1::Button3Click(TObject*) {
    ui::TProgressWindow progress(this, "Az adatbázis frissítése");
    ShowColumnFailures(core::UpgradeDatabase(
        session_, [&](std::size_t done, std::size_t total) { progress.Done(done, total); }));
}

void TFolap1::FormActivate(TObject*) {
    stripDirection_ = 1;
    stripPosition_ = 2;
    ui::Application->SetHelpFile("HELP1.hlp");
    SetCaption(std::string(kCaption) + " (" + core::FarmName(session_) + ")");
}

// --- the strip -------------------------------------------------------------------------------

void TFolap1::Timer1Timer(TObject*) {
    Image1->Hide();
    stripPosition_ += stripDirection_ == 1 ? -1 : 1;
    Image1->SetLeft(stripPosition_);
    Image1->Show();
    if (stripPosition_ <= kStripLeftmost)
        stripDirection_ = 0;
    if (stripPosition_ >= kStripRightmost)
        stripDirection_ = 1;
}

// --- recording operations, again and again ---------------------------------------------

bool TFolap1::OpenOperationForm() {
    auto slot = commands_.find("TMuvadat");
    if (!slot->second.opener)
        return false;
    slot->second.opener();
    return true;
}

// The menu item and the toolbar button ask after the form closes and, on Yes, hand over
// to each other; each returns only when the chain it started has ended.
void TFolap1::Elvgzettmveletekfelvitele1Click(TObject*) {
    if (OpenOperationForm() && AskForMore())
        ToolButton1->Click();
}

// Leaves no last field behind: a chain that passed through the button ends without one.
void TFolap1::ToolButton1Click(TObject*) {
    if (OpenOperationForm() && AskForMore())
        Elvgzettmveletekfelvitele1->Click();
    lastFieldCode_ = kNoField;
}

// --- exit, help, keys ---------------------------------------------------------------------

void TFolap1::Kilps1Click(TObject*) {
    // The user asked to leave: the program ends even when the backup fails.
    struct TerminateAtEnd {
        ~TerminateAtEnd() { ui::Application->Terminate(); }
    } terminate;
    if (!core::SafetySaveDue(session_, sys::today()))
        return;
    if (ui::MessageDlg(kBackupQuestion, ui::mtConfirmation, ui::mbYesNo) != ui::mrYes)
        return;
    ui::OwnedForm<TAdatkarb> form(Adatkarb, session_);
    form->Button1Click(form.get());
    form->Button4Click(form.get());
}

void TFolap1::ToolButton25Click(TObject* Sender) {
    Kilps1Click(Sender);
}

void TFolap1::Sg1Click(TObject*) {
    ui::Application->HelpCommand(ui::HELP_FINDER);
}

// Ctrl+X anywhere in the main window ends the process at once: no backup offer, nothing
// more runs.
void TFolap1::FormKeyPress(TObject*, TKey& Key) {
    if (Key == kCtrlX)
        ExitProcess(1);
}
