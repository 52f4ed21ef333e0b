// Building the main window's controls. Object names and captions are the ones the
// rest of the program (and the operator's documentation) use.
#include "app/Tfmain.h"

#include "common/CommandGuard.h"
#include "app/TrayIconImage.h"
#include "monitor/ui/DisplayArea.h"
#include "record/DiskReclaim.h"
#include "record/FileRotation.h"
#include "snapshot/ui/SnapshotGallery.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QPushButton *makeButton(QWidget *parent, const char *objectName, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    return button;
}

QLabel *makeHintLabel(QWidget *parent, const char *objectName, const QString &text, const QColor &colour)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setWordWrap(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    return label;
}

} // namespace

void Tfmain::buildMenu()
{
    QMenu *settingsMenu = menuBar()->addMenu(QStringLiteral("参数设置(摄像头个数设置)"));
    settingsMenu->setObjectName("N1");
    Saveframes1 = settingsMenu->addAction(QStringLiteral("基础参数设置(摄像头个数)"));
    Saveframes1->setObjectName("Saveframes1");
}

void Tfmain::buildMonitoringPage()
{
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName("TabSheet1");
    auto *row = new QHBoxLayout(TabSheet1);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    Panel2 = new DisplayArea(TabSheet1);
    Panel1 = buildControlPanel();
    row->addWidget(Panel2, 1);
    row->addWidget(Panel1);
    pg1->addTab(TabSheet1, QStringLiteral("视频监控"));
}

QWidget *Tfmain::buildControlPanel()
{
    auto *panel = new QWidget(TabSheet1);
    panel->setObjectName("Panel1");
    panel->setFixedWidth(panel1DesignWidth);
    auto *column = new QVBoxLayout(panel);

    for (int camera = 1; camera <= 4; ++camera) {
        auto *button = makeButton(panel, qPrintable(QString("Button%1").arg(camera + 2)),
                                  QStringLiteral("摄像头%1参数").arg(camera));
        cameraSettingsButtons[camera - 1] = button;
        column->addWidget(button);
    }
    column->addSpacing(8);
    BitBtn10 = makeButton(panel, "BitBtn10", QStringLiteral("开启监控"));
    BitBtn11 = makeButton(panel, "BitBtn11", QStringLiteral("关闭监控"));
    BitBtn11->setEnabled(false);
    BitBtn12 = makeButton(panel, "BitBtn12", QStringLiteral("软件最小化到电脑右下角"));
    BitBtn15 = makeButton(panel, "BitBtn15", QStringLiteral("抓拍"));
    Label6 = makeHintLabel(panel, "Label6", QStringLiteral("先点中要抓拍摄像头再点“抓拍”"), Qt::blue);
    BitBtn16 = makeButton(panel, "BitBtn16", QStringLiteral("打开抓拍照片目录"));
    BitBtn17 = makeButton(panel, "BitBtn17", QStringLiteral("单个摄像头放大监控"));
    Label7 = makeHintLabel(panel, "Label7", QStringLiteral("先点中要放大的摄像头再点“放大监控”"), Qt::blue);
    BitBtn18 = makeButton(panel, "BitBtn18", QStringLiteral("监控画面恢复原始大小"));
    for (QWidget *w : std::initializer_list<QWidget *>{BitBtn10, BitBtn11, BitBtn12, BitBtn15, Label6,
                                                       BitBtn16, BitBtn17, Label7, BitBtn18})
        column->addWidget(w);

    ImageEnMView1 = new SnapshotGallery(panel);
    ImageEnMView1->setObjectName("ImageEnMView1");
    ImageEnMView1->showGalleryOf(*snapshots_);
    column->addWidget(ImageEnMView1, 1);

    // Controls the operator never sees; other operations click them in code.
    hiddenControls = new QWidget(panel);
    hiddenControls->setObjectName("hiddenControls");
    hiddenControls->hide();
    const char *openNames[] = {"SpeedButton1", "SpeedButton3", "SpeedButton4", "SpeedButton5"};
    for (int camera = 1; camera <= 4; ++camera) {
        cameraOpenButtons[camera - 1] =
            makeButton(hiddenControls, openNames[camera - 1], QStringLiteral("开启%1").arg(camera));
        cameraCloseButtons[camera - 1] =
            makeButton(hiddenControls, qPrintable(QString("BitBtn%1").arg(camera)), QStringLiteral("关闭%1").arg(camera));
    }
    BitBtn5 = makeButton(hiddenControls, "BitBtn5", QStringLiteral("start保存视频"));
    BitBtn6 = makeButton(hiddenControls, "BitBtn6", QStringLiteral("stop视频"));
    BitBtn7 = makeButton(hiddenControls, "BitBtn7", QStringLiteral("开启监控"));
    BitBtn8 = makeButton(hiddenControls, "BitBtn8", QStringLiteral("停止监控"));
    BitBtn9 = makeButton(hiddenControls, "BitBtn9", QStringLiteral("界面"));
    ComboBox1 = new QComboBox(hiddenControls);
    ComboBox1->setObjectName("ComboBox1");
    ListBox1 = new QListWidget(hiddenControls);
    ListBox1->setObjectName("ListBox1");
    return panel;
}

void Tfmain::buildQueryPage()
{
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName("TabSheet2");
    auto *page = new QVBoxLayout(TabSheet2);

    auto *bar = new QGroupBox(QStringLiteral("查询视频文件"), TabSheet2);
    bar->setObjectName("GroupBox1");
    auto *barColumn = new QVBoxLayout(bar);
    auto *controls = new QHBoxLayout;

    ComboBox3 = new QComboBox(bar);
    ComboBox3->setObjectName("ComboBox3");
    ComboBox3->addItems({QStringLiteral("所有"), "1", "2", "3", "4"});
    Edit9 = new QLineEdit(bar);
    Edit9->setObjectName("Edit9");
    Edit10 = new QLineEdit(bar);
    Edit10->setObjectName("Edit10");
    BitBtn13 = makeButton(bar, "BitBtn13", ">>>");
    BitBtn13->hide();
    BitBtn14 = makeButton(bar, "BitBtn14", ">>>");
    BitBtn14->hide();
    SpeedButton12 = makeButton(bar, "SpeedButton12", QStringLiteral("查询"));
    SpeedButton6 = makeButton(bar, "SpeedButton6", QStringLiteral("播放监控文件"));
    SpeedButton7 = makeButton(bar, "SpeedButton7", QStringLiteral("打开文件目录"));
    SpeedButton8 = makeButton(bar, "SpeedButton8", QStringLiteral("单个删除视频"));
    SpeedButton9 = makeButton(bar, "SpeedButton9", QStringLiteral("全部删除"));

    controls->addWidget(new QLabel(QStringLiteral("摄像头编号"), bar));
    controls->addWidget(ComboBox3);
    controls->addWidget(new QLabel(QStringLiteral("日期从"), bar));
    controls->addWidget(Edit9);
    controls->addWidget(BitBtn13);
    controls->addWidget(new QLabel(QStringLiteral("到"), bar));
    controls->addWidget(Edit10);
    controls->addWidget(BitBtn14);
    for (QPushButton *b : {SpeedButton12, SpeedButton6, SpeedButton7, SpeedButton8, SpeedButton9})
        controls->addWidget(b);
    controls->addStretch(1);
    barColumn->addLayout(controls);
    Label11 = makeHintLabel(bar, "Label11",
                            QStringLiteral("提示:如果不能播放录像文件,请安装一个暴风影音播放器(是MP4格式的文件)!"),
                            Qt::red);
    barColumn->addWidget(Label11);

    // Its columns and behaviour are set once the catalogue is handed over.
    DBGrid1 = new QTableView(TabSheet2);
    DBGrid1->setObjectName("DBGrid1");
    Edit9->installEventFilter(this);
    Edit10->installEventFilter(this);

    page->addWidget(bar);
    page->addWidget(DBGrid1, 1);
    pg1->addTab(TabSheet2, QStringLiteral("视频查询"));
}

void Tfmain::buildTray()
{
    main_pop = new QMenu(this);
    main_pop->setObjectName("main_pop");
    pop_Show = main_pop->addAction(QStringLiteral("隐藏界面"));
    pop_Show->setObjectName("pop_Show");
    N29 = main_pop->addAction(QStringLiteral("显示界面"));
    N29->setObjectName("N29");
    N13 = main_pop->addAction(QStringLiteral("退出"));
    N13->setObjectName("N13");

    TrayNotifyIcon1 = new QSystemTrayIcon(trayIconImage(), this);
    TrayNotifyIcon1->setObjectName("TrayNotifyIcon1");
    TrayNotifyIcon1->setToolTip(QStringLiteral("Kamvist"));
    // The menu opens on the right button; left clicks do nothing.
    TrayNotifyIcon1->setContextMenu(main_pop);
}

namespace {

constexpr int statusRefreshMs = 1000;
// Auto start waits this long after the first showing.
constexpr int autoStartDelayMs = 3000;

} // namespace

void Tfmain::buildTimers()
{
    statusLine = new QLabel(this);
    statusLine->setObjectName("statusLine");
    statusBar()->addWidget(statusLine, 1);
    statusRefresh = new QTimer(this);
    statusRefresh->setInterval(statusRefreshMs);
    connect(statusRefresh, &QTimer::timeout, this, &Tfmain::updateStatusLine);
    statusRefresh->start();

    typdel = new QTimer(this);
    typdel->setObjectName("typdel");
    typdel->setInterval(DiskReclaim::intervalMs);
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(autoStartDelayMs);
    Txstwo = new QTimer(this);
    Txstwo->setObjectName("Txstwo");
    Txstwo->setInterval(FileRotation::intervalMs);
}

void Tfmain::connectCommands()
{
    using Handler = void (Tfmain::*)();
    // Operator commands go through the guard: a failure becomes a message box.
    const auto guarded = [this](Handler handler) {
        return [this, handler] { runGuarded(prompter_, [this, handler] { (this->*handler)(); }); };
    };
    const auto onClick = [this, guarded](QPushButton *button, Handler handler) {
        connect(button, &QPushButton::clicked, this, guarded(handler));
    };

    onClick(BitBtn10, &Tfmain::BitBtn10Click);
    onClick(BitBtn11, &Tfmain::BitBtn11Click);
    onClick(BitBtn12, &Tfmain::BitBtn12Click);
    onClick(BitBtn17, &Tfmain::BitBtn17Click);
    onClick(BitBtn18, &Tfmain::BitBtn18Click);
    onClick(BitBtn5, &Tfmain::BitBtn5Click);
    onClick(BitBtn6, &Tfmain::BitBtn6Click);
    onClick(BitBtn7, &Tfmain::BitBtn7Click);
    onClick(BitBtn8, &Tfmain::BitBtn8Click);
    onClick(BitBtn9, &Tfmain::BitBtn9Click);
    onClick(SpeedButton12, &Tfmain::SpeedButton12Click);
    onClick(SpeedButton6, &Tfmain::SpeedButton6Click);
    onClick(SpeedButton7, &Tfmain::SpeedButton7Click);
    onClick(SpeedButton8, &Tfmain::SpeedButton8Click);
    onClick(SpeedButton9, &Tfmain::SpeedButton9Click);
    onClick(BitBtn13, &Tfmain::BitBtn13Click);
    onClick(BitBtn14, &Tfmain::BitBtn14Click);
    onClick(BitBtn15, &Tfmain::BitBtn15Click);
    onClick(BitBtn16, &Tfmain::BitBtn16Click);
    connect(ImageEnMView1, &SnapshotGallery::galleryDoubleClicked, this, guarded(&Tfmain::ImageEnMView1DblClick));
    const std::array<Handler, 4> openHandlers = {&Tfmain::SpeedButton1Click, &Tfmain::SpeedButton3Click,
                                                 &Tfmain::SpeedButton4Click, &Tfmain::SpeedButton5Click};
    const std::array<Handler, 4> closeHandlers = {&Tfmain::BitBtn1Click, &Tfmain::BitBtn2Click,
                                                  &Tfmain::BitBtn3Click, &Tfmain::BitBtn4Click};
    const std::array<Handler, 4> settingsHandlers = {&Tfmain::Button3Click, &Tfmain::Button4Click,
                                                     &Tfmain::Button5Click, &Tfmain::Button6Click};
    for (int i = 0; i < 4; ++i) {
        onClick(cameraOpenButtons[i], openHandlers[i]);
        onClick(cameraCloseButtons[i], closeHandlers[i]);
        onClick(cameraSettingsButtons[i], settingsHandlers[i]);
    }
    onClick(Panel2->SpeedButton10, &Tfmain::SpeedButton10Click);
    onClick(Panel2->SpeedButton11, &Tfmain::SpeedButton11Click);

    connect(Saveframes1, &QAction::triggered, this, guarded(&Tfmain::Saveframes1Click));
    connect(pop_Show, &QAction::triggered, this, guarded(&Tfmain::pop_ShowClick));
    connect(N29, &QAction::triggered, this, guarded(&Tfmain::N29Click));
    connect(N13, &QAction::triggered, this, guarded(&Tfmain::N13Click));
    connect(pg1, &QTabWidget::currentChanged, this, guarded(&Tfmain::pg1Change));
    connect(Panel2->TrackBar1, &QAbstractSlider::valueChanged, this, guarded(&Tfmain::TrackBar1Change));
    connect(Panel2, &DisplayArea::paneClicked, this,
            [this](int code) { runGuarded(prompter_, [this, code] { selectPane(code); }); });

    // Auto start fails as loudly as a start by the operator: at logon nobody else would know.
    connect(Timer1, &QTimer::timeout, this, guarded(&Tfmain::Timer1Timer));
    // Unattended handlers catch and drop their own failures.
    connect(Txstwo, &QTimer::timeout, this, [this] { runQuietly([this] { TxstwoTimer(); }); });
    connect(typdel, &QTimer::timeout, this, [this] { runQuietly([this] { typdelTimer(); }); });
}
