#include "launch/widgets/shortcut_editor_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QDrag>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/program_state.h"
#include "ui/logic/form_internal.h"
#include "ui/main/form_widgets.h"

namespace pellion::ui {

namespace {

namespace fs = std::filesystem;

const QString kMime = QStringLiteral("application/x-pellion-shortcut-item");
constexpr int kFlashMs = 2000;

// The design, in twips: four rows of fields, then the lists, the labels and
// the bookmark and filter columns, then the colours and the buttons.
constexpr int kWidth = 11400, kHeight = 5880;
constexpr int kLabelX = 120, kLabelW = 1860, kFieldX = 2040, kFieldW = 9240, kRowH = 300;
constexpr int kBrowseTop = 1620, kMarksX = 6360, kFiltersX = 8880, kMarkW = 2400, kMarkTop = 1890, kMarkH = 270;

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

// Subfolders of a folder, sorted, hidden ones left out.
std::vector<std::string> Subfolders(const std::string& folder) {
    std::vector<std::string> out;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!name.empty() && name[0] != '.' && it->is_directory(ec)) out.push_back(name);
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> FilesIn(const std::string& folder, const std::string& filter) {
    std::vector<std::string> out;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!name.empty() && name[0] != '.' && it->is_regular_file(ec) && MatchesFilter(name, filter))
            out.push_back(name);
    }
    std::sort(out.begin(), out.end());
    return out;
}

void Paint(QWidget* w, QColor background, QColor text) {
    QPalette p = w->palette();
    for (auto role : {QPalette::Window, QPalette::Base}) p.setColor(role, background);
    for (auto role : {QPalette::WindowText, QPalette::Text}) p.setColor(role, text);
    w->setAutoFillBackground(true);
    w->setPalette(p);
}

bool RightRelease(const QEvent* e) {
    return e->type() == QEvent::MouseButtonRelease && static_cast<const QMouseEvent*>(e)->button() == Qt::RightButton;
}

}  // namespace

ShortcutEditorDialog::ShortcutEditorDialog(ProgramState& ps, ListKind list, int slot, const std::string& clipText,
                                           QWidget* parent)
    : QDialog(parent), ps_(ps), scale_(DesktopTwipScale()) {
    setWindowTitle(QStringLiteral("Shortcut Edit"));
    setObjectName(QStringLiteral("LaunchPad"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    SetBold(this, ps_.mainForm.form.window.bold);
    e_ = OpenEditor(ps_, list, slot, clipText, QDir::homePath().toStdString());
    setFixedSize(scale_.toPixels(kWidth), scale_.toPixels(kHeight));

    const char* captions[] = {"File to launch", "Folder to start in", "Command Line", "Shortcut Title"};
    QLineEdit** boxes[] = {&file_, &start_, &command_, &title_};
    const EditorItem items[] = {EditorItem::FileField, EditorItem::StartField, EditorItem::CommandField,
                                EditorItem::Trash};
    for (int i = 0; i < 4; ++i) {
        place(new QLabel(QString::fromUtf8(captions[i]), this), kLabelX, 120 + i * 360, kLabelW, kRowH);
        auto* box = new QLineEdit(this);
        *boxes[i] = box;
        place(box, kFieldX, 120 + i * 360, i == 3 ? 2400 : kFieldW, kRowH);
        // Paths are checked at Save: refused when too long, never cut.
        if (i == 3) box->setMaxLength(int(kShortcutTitleBytes));
        if (i < 3) {
            places_[box] = {items[i]};
            box->installEventFilter(this);
        }
    }
    connect(file_, &QLineEdit::textEdited, this, [this](const QString& t) { e_.fields.file = S(t); });
    connect(start_, &QLineEdit::textEdited, this, [this](const QString& t) { e_.fields.start = S(t); });
    connect(command_, &QLineEdit::textEdited, this, [this](const QString& t) { e_.fields.command = S(t); });
    connect(title_, &QLineEdit::textEdited, this, [this](const QString& t) { e_.fields.title = S(t); });

    drives_ = new QComboBox(this);
    place(drives_, kLabelX, kBrowseTop, 3000, 330);
    if (ps_.platform.shell)
        for (const platform::Drive& d : ps_.platform.shell->drives()) drives_->addItem(Q(d.name), Q(d.path));
    connect(drives_, &QComboBox::activated, this, [this](int i) {
        const std::string root = S(drives_->itemData(i).toString());
        // A drive that cannot be read sends the lists to the root.
        showFolder(files::isFolder(root) ? root : "/");
    });
    dirs_ = new QListWidget(this);
    place(dirs_, kLabelX, 2010, 3000, 2850);
    connect(dirs_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showFolder(S(item->data(Qt::UserRole).toString())); });
    files_ = new QListWidget(this);
    place(files_, 3240, kBrowseTop, 3000, 3240);
    connect(files_, &QListWidget::currentTextChanged, this, [this](const QString& t) { e_.selectedFile = S(t); });
    Paint(drives_, ToQColor(ps_.settings.GroupClipsColour), Qt::black);
    Paint(dirs_, ToQColor(ps_.settings.GroupClipsColour), Qt::black);
    Paint(files_, ToQColor(ps_.settings.GroupNamesColour), Qt::black);

    place(dragLabel(QStringLiteral("Drag this to use folder"), {EditorItem::FolderLabel}), kLabelX, 4920, 3000, kRowH);
    place(dragLabel(QStringLiteral("Drag this to use file"), {EditorItem::FileLabel}), 3240, 4920, 3000, kRowH);
    place(new QLabel(QStringLiteral("Folder Bookmarks"), this), kMarksX, kBrowseTop, kMarkW, 255);
    place(new QLabel(QStringLiteral("File Type Filters"), this), kFiltersX, kBrowseTop, kMarkW, 255);
    for (int i = 0; i < kBookmarks; ++i) {
        folders_[std::size_t(i)] = dragLabel({}, {EditorItem::Bookmark, i});
        place(folders_[std::size_t(i)], kMarksX, kMarkTop + i * kMarkH, kMarkW, kMarkH - 15);
    }
    for (int i = 0; i < kFilters; ++i) {
        filters_[std::size_t(i)] = dragLabel({}, {EditorItem::Filter, i});
        place(filters_[std::size_t(i)], kFiltersX, kMarkTop + i * kMarkH, kMarkW, kMarkH - 15);
    }
    QLabel* trash = dragLabel(QStringLiteral("Trash"), {EditorItem::Trash});
    trash->setAlignment(Qt::AlignCenter);
    Paint(trash, QColor(255, 0, 0), Qt::white);
    place(trash, kMarksX, 4920, kMarkW, kRowH);

    for (int i = 0; i < kColourOptions; ++i) {
        colour_[std::size_t(i)] = new QRadioButton(QString::fromUtf8(ColourOptionCaption(i)), this);
        place(colour_[std::size_t(i)], kLabelX + i * 1260, 5430, 1200, kRowH);
        colour_[std::size_t(i)]->installEventFilter(this);
    }
    if (const auto option = ColourOptionOf(e_.colour)) colour_[std::size_t(*option)]->setChecked(true);

    auto* saveBtn = new QPushButton(QStringLiteral("Save"), this);
    auto* cancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    auto* helpBtn = new QPushButton(QStringLiteral("Help"), this);
    place(saveBtn, 8040, 5400, 1020, 360);
    place(cancelBtn, 9150, 5400, 1020, 360);
    place(helpBtn, 10260, 5400, 1020, 360);
    saveBtn->setAutoDefault(false);
    cancelBtn->setAutoDefault(false);
    helpBtn->setAutoDefault(false);
    connect(saveBtn, &QPushButton::clicked, this, [this] { save(); });
    connect(cancelBtn, &QPushButton::clicked, this, [this] { reject(); });
    connect(helpBtn, &QPushButton::clicked, this, [this] { detail::QuickHelp(ps_, 46); });

    setMouseTracking(true);
    installEventFilter(this);
    showFields();
    showMarks();
    showFolder(e_.folder);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
}

void ShortcutEditorDialog::place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(scale_.toPixels(left), scale_.toPixels(top), scale_.toPixels(width), scale_.toPixels(height));
}

QLabel* ShortcutEditorDialog::dragLabel(const QString& text, EditorPlace where) {
    auto* label = new QLabel(text, this);
    places_[label] = where;
    label->installEventFilter(this);
    label->setAcceptDrops(where.item != EditorItem::FolderLabel && where.item != EditorItem::FileLabel);
    label->setMouseTracking(true);
    if (where.item == EditorItem::FolderLabel || where.item == EditorItem::FileLabel) {
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Raised);
        label->setAlignment(Qt::AlignCenter);
    }
    return label;
}

void ShortcutEditorDialog::showFields() {
    file_->setText(Q(e_.fields.file));
    start_->setText(Q(e_.fields.start));
    command_->setText(Q(e_.fields.command));
    title_->setText(Q(e_.fields.title));
}

void ShortcutEditorDialog::showMarks() {
    const QColor back = ToQColor(ps_.settings.ClipboardClipsColour);
    auto show = [&](QLabel* label, const std::string& text) {
        // A long path shows its ends; the whole of it is in the tip.
        label->setText(label->fontMetrics().elidedText(Q(text), Qt::ElideMiddle, label->width() - 4));
        label->setToolTip(Q(text));
        Paint(label, back, Qt::black);
    };
    for (int i = 0; i < kBookmarks; ++i) show(folders_[std::size_t(i)], e_.marks.folders[std::size_t(i)]);
    for (int i = 0; i < kFilters; ++i) show(filters_[std::size_t(i)], e_.marks.filters[std::size_t(i)]);
}

void ShortcutEditorDialog::showFolder(const std::string& folder) {
    e_.folder = folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
    dirs_->clear();
    // The folder's ancestors from the root down, then its own subfolders.
    std::vector<std::string> chain;
    for (fs::path p(e_.folder); !p.empty(); p = p.parent_path()) {
        chain.insert(chain.begin(), p.string());
        if (p == p.parent_path()) break;
    }
    int depth = 0;
    auto add = [this](const std::string& path, const std::string& name, int indent) {
        auto* item = new QListWidgetItem(QString(indent * 2, ' ') + Q(name), dirs_);
        item->setData(Qt::UserRole, Q(path));
        return item;
    };
    for (const std::string& p : chain) {
        dirs_->setCurrentItem(add(p, depth == 0 ? p : fs::path(p).filename().string(), depth));
        ++depth;
    }
    for (const std::string& name : Subfolders(e_.folder))
        add((e_.folder == "/" ? "/" : e_.folder + "/") + name, name, depth);
    // The drive the folder lies on: the longest root that holds it.
    int best = -1;
    std::size_t bestLength = 0;
    for (int i = 0; i < drives_->count(); ++i) {
        const std::string root = S(drives_->itemData(i).toString());
        const bool holds = e_.folder == root || e_.folder.rfind(root == "/" ? root : root + "/", 0) == 0;
        if (holds && root.size() >= bestLength) best = i, bestLength = root.size();
    }
    if (best >= 0) drives_->setCurrentIndex(best);
    showFiles();
}

void ShortcutEditorDialog::showFiles() {
    files_->clear();
    for (const std::string& name : FilesIn(e_.folder, e_.pattern)) files_->addItem(Q(name));
    e_.selectedFile.clear();
    if (files_->count() > 0) files_->setCurrentRow(0);
}

bool ShortcutEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    auto it = places_.find(watched);
    if (it == places_.end()) {
        // The window's background takes the hover highlight off.
        if (watched == this && event->type() == QEvent::MouseMove) showMarks();
        // The colour options' quick help.
        if (watched != this && RightRelease(event)) detail::QuickHelp(ps_, 14);
        return false;
    }
    const EditorPlace where = it->second;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: return dragEvent(where, event);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: return mouse(static_cast<QWidget*>(watched), where, event);
    default: return false;
    }
}

bool ShortcutEditorDialog::mouse(QWidget* w, EditorPlace from, QEvent* event) {
    auto* e = static_cast<QMouseEvent*>(event);
    const bool field = from.item == EditorItem::FileField || from.item == EditorItem::StartField ||
                       from.item == EditorItem::CommandField;
    if (event->type() == QEvent::MouseButtonPress) {
        pressed_ = e->button() == Qt::LeftButton;
        pressAt_ = e->position().toPoint();
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const bool click = pressed_ && e->button() == Qt::LeftButton;
        pressed_ = false;
        if (e->button() == Qt::RightButton) {
            static const std::map<EditorItem, int> topics{{EditorItem::Bookmark, 41}, {EditorItem::Filter, 42},
                                                          {EditorItem::FolderLabel, 43}, {EditorItem::FileLabel, 44},
                                                          {EditorItem::Trash, 45}};
            if (auto t = topics.find(from.item); t != topics.end()) detail::QuickHelp(ps_, t->second);
        } else if (click) {
            this->click(from);
        }
        return false;
    }
    if (!(e->buttons() & Qt::LeftButton) || !pressed_) {
        if (auto* label = qobject_cast<QLabel*>(w); label && !field) hover(label);
        return false;
    }
    const QPoint moved = e->position().toPoint() - pressAt_;
    const bool far = scale_.toTwips(std::abs(moved.x())) > 20 || scale_.toTwips(std::abs(moved.y())) > 20;
    // A field keeps the mouse for selecting its text until the pointer leaves it.
    const bool go = field ? !w->rect().contains(e->position().toPoint()) : far;
    if (!go || !CanDrag(e_, from)) return false;
    pressed_ = false;
    startDrag(w, from);
    return true;
}

void ShortcutEditorDialog::startDrag(QWidget* from, EditorPlace where) {
    auto* mime = new QMimeData;
    mime->setData(kMime, QByteArray::number(int(where.item)) + ' ' + QByteArray::number(where.index));
    auto* drag = new QDrag(from);
    drag->setMimeData(mime);
    // The label itself is what the user drags.
    drag->setPixmap(from->grab());
    drag->setHotSpot(from->mapFromGlobal(QCursor::pos()));
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

bool ShortcutEditorDialog::dragEvent(EditorPlace to, QEvent* event) {
    auto* e = static_cast<QDropEvent*>(event);
    if (!e->mimeData()->hasFormat(kMime)) return false;  // text dragged from elsewhere: the box's own
    const QList<QByteArray> parts = e->mimeData()->data(kMime).split(' ');
    if (parts.size() != 2) return false;
    const EditorPlace from{EditorItem(parts[0].toInt()), parts[1].toInt()};
    e->acceptProposedAction();
    if (event->type() != QEvent::Drop) return true;
    const std::string pattern = e_.pattern;
    if (Drop(e_, from, to)) {
        showFields();
        showMarks();
        if (e_.pattern != pattern) showFiles();
    }
    return true;
}

void ShortcutEditorDialog::click(EditorPlace where) {
    if (where.item == EditorItem::Bookmark) {
        const std::string& folder = e_.marks.folders[std::size_t(where.index)];
        if (!folder.empty() && files::isFolder(folder)) showFolder(folder);
    } else if (where.item == EditorItem::Filter) {
        const std::string& filter = e_.marks.filters[std::size_t(where.index)];
        if (!filter.empty()) {
            e_.pattern = filter;
            showFiles();
        }
    }
}

void ShortcutEditorDialog::hover(QLabel* label) {
    showMarks();
    const bool mark = std::find(folders_.begin(), folders_.end(), label) != folders_.end() ||
                      std::find(filters_.begin(), filters_.end(), label) != filters_.end();
    if (mark) Paint(label, ToQColor(kHighlight), ToQColor(kHighlightText));
}

void ShortcutEditorDialog::flash(QLineEdit* field, const char* text) {
    QApplication::beep();
    flashing_ = true;
    const QString kept = field->text();
    const QPalette palette = field->palette();
    Paint(field, ToQColor(kHighlight), ToQColor(kHighlightText));
    field->setText(QString::fromUtf8(text));
    field->setReadOnly(true);
    QTimer::singleShot(kFlashMs, this, [this, field, kept, palette] {
        field->setReadOnly(false);
        field->setText(kept);
        field->setPalette(palette);
        field->setFocus();
        flashing_ = false;
    });
}

void ShortcutEditorDialog::save() {
    if (flashing_) return;
    const SaveRefusal refusal = CheckSave(e_);
    QLineEdit* concerned = nullptr;
    switch (refusal) {
    case SaveRefusal::None: break;
    case SaveRefusal::NoFile:
    case SaveRefusal::FileTooLong: concerned = file_; break;
    case SaveRefusal::NoTitle: concerned = title_; break;
    case SaveRefusal::StartTooLong: concerned = start_; break;
    case SaveRefusal::CommandTooLong: concerned = command_; break;
    }
    if (concerned) {
        flash(concerned, RefusalText(refusal));
        return;
    }
    Colour colour = e_.colour;
    for (int i = 0; i < kColourOptions; ++i)
        if (colour_[std::size_t(i)]->isChecked()) colour = ColourOfOption(i).value_or(0);
    if (!SaveShortcut(ps_, e_, colour)) std::fprintf(stderr, "pellion: the shortcut could not be written\n");
    accept();
}

void ShowLaunchError(const std::string& message, QWidget* parent) {
    QDialog errors(parent);
    errors.setObjectName(QStringLiteral("Errors"));
    errors.setWindowTitle(QStringLiteral(" Launch Pad"));
    errors.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    auto* txt = new QLabel(Q(message), &errors);
    txt->setObjectName(QStringLiteral("Txt"));
    txt->setWordWrap(true);
    txt->setTextInteractionFlags(Qt::TextSelectableByMouse);
    txt->setMinimumWidth(txt->fontMetrics().averageCharWidth() * 50);
    auto* ok = new QPushButton(QStringLiteral("OK"), &errors);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &errors, &QDialog::accept);
    auto* layout = new QVBoxLayout(&errors);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(txt);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    errors.adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        errors.move(screen->geometry().center() - QPoint(errors.width() / 2, errors.height() / 2));
    QApplication::beep();
    errors.exec();
}

}  // namespace pellion::ui
