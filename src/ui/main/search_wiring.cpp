#include "ui/main/search_wiring.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <thread>

#include "app/program_state.h"
#include "ui/logic/search.h"
#include "ui/main/main_window.h"

namespace pellion::ui {

namespace {

constexpr int kBlinkMs = 200;
constexpr int kFlashes = 3;
const WidgetRef kSearchBox{Family::Search, 0};

// A red arrow at the hit; each blink swaps its ground between red and white.
class HitPointer : public QWidget {
public:
    explicit HitPointer(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("Pointer"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }
    void setPointsLeft(bool left) { left_ = left; }
    void blink() {
        red_ = !red_;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QColor red(255, 0, 0), white(255, 255, 255);
        p.fillRect(rect(), red_ ? red : white);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(red_ ? white : red);
        const qreal w = width(), h = height(), m = h * 0.15;
        QPolygonF arrow;
        if (left_)
            arrow << QPointF(m, h / 2) << QPointF(h, m) << QPointF(h, h * 0.35) << QPointF(w - m, h * 0.35)
                  << QPointF(w - m, h * 0.65) << QPointF(h, h * 0.65) << QPointF(h, h - m);
        else
            arrow << QPointF(w - m, h / 2) << QPointF(w - h, m) << QPointF(w - h, h * 0.35) << QPointF(m, h * 0.35)
                  << QPointF(m, h * 0.65) << QPointF(w - h, h * 0.65) << QPointF(w - h, h - m);
        p.drawPolygon(arrow);
    }

private:
    bool left_ = true;
    bool red_ = true;
};

class SearchWiring : public QObject {
public:
    SearchWiring(ProgramState& ps, Edit& edit)
        : QObject(&edit), ps_(ps), edit_(edit), box_(qobject_cast<QLineEdit*>(edit.widget(kSearchBox))),
          pointer_(new HitPointer(&edit)) {
        blink_.setInterval(kBlinkMs);
        connect(&blink_, &QTimer::timeout, pointer_, [this] { pointer_->blink(); });
        flash_.setInterval(kBlinkMs);
        connect(&flash_, &QTimer::timeout, this, [this] { flashStep(); });
        if (box_) box_->installEventFilter(this);
        ps_.keys.search = [this] { enter(); };
        ps_.mainForm.hooks.endSearch = [this] { end(); };
    }
    ~SearchWiring() override {
        if (worker_.joinable()) worker_.join();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != box_) return false;
        const auto type = event->type();
        // Entering the box empties it; the window coming back to the front does not.
        if (type == QEvent::FocusIn && !busy_ &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason)
            setBox(QString(), kWhite);
        if (type == QEvent::MouseButtonRelease && !busy_) {
            const auto button = static_cast<QMouseEvent*>(event)->button();
            if (button == Qt::LeftButton || button == Qt::MiddleButton) setBox(QString(), kWhite);
        }
        return false;
    }

private:
    void setBox(const QString& text, Colour background) {
        if (!box_) return;
        box_->setText(text);
        WidgetState& w = ps_.mainForm.form[kSearchBox];
        w.caption = text.toStdString();
        w.background = background;
        edit_.applyState();
    }

    // Enter in the box: the same text goes on from the last hit.
    void enter() {
        if (busy_ || !box_) return;
        const QString typed = box_->text();
        const std::string key = SearchKey(typed.toStdString());
        if (key.empty()) return;
        if (key != term_) {
            term_ = key;
            cursor_ = StartSearch(ps_.settings.CurrentLibrary);
        }
        busy_ = true;
        typed_ = typed;
        const int generation = ++generation_;
        QApplication::setOverrideCursor(Qt::BusyCursor);
        hidePointer();
        box_->setReadOnly(true);
        setBox(QStringLiteral("Searching"), kRed);
        box_->repaint();
        if (worker_.joinable()) worker_.join();
        worker_ = std::thread([this, generation, folder = ps_.dataFolder, key, small = ps_.settings.SizeOption != 1,
                               cursor = cursor_]() mutable {
            auto hit = ScanTitles(folder, key, small, cursor);
            QMetaObject::invokeMethod(this, [this, generation, hit, cursor] { done(generation, hit, cursor); },
                                      Qt::QueuedConnection);
        });
    }

    void done(int generation, std::optional<SearchHit> hit, SearchCursor cursor) {
        QApplication::restoreOverrideCursor();
        if (generation != generation_) return;  // ended meanwhile
        box_->setReadOnly(false);
        cursor_ = cursor;
        if (!hit) {
            setBox(QStringLiteral("Nothing Found"), kRed);
            QApplication::beep();
            flashes_ = 0;
            flash_.start();
            return;
        }
        busy_ = false;
        const SearchPointer at = ShowSearchHit(ps_, *hit);
        const TwipScale& s = edit_.scale();
        pointer_->setGeometry(s.toPixels(at.rect.left), s.toPixels(at.rect.top), s.toPixels(at.rect.width),
                              s.toPixels(at.rect.height));
        pointer_->setPointsLeft(at.pointsLeft);
        pointer_->show();
        pointer_->raise();
        blink_.start();
        setBox(typed_, kWhite);
    }

    // Red, white, three times; then an empty box for the next text.
    void flashStep() {
        ++flashes_;
        if (flashes_ >= 2 * kFlashes) {
            flash_.stop();
            busy_ = false;
            term_.clear();
            setBox(QString(), kWhite);
            box_->setFocus();
            return;
        }
        ps_.mainForm.form[kSearchBox].background = flashes_ % 2 ? kWhite : kRed;
        edit_.applyState();
    }

    void hidePointer() {
        blink_.stop();
        pointer_->hide();
    }

    // The focus went to the window's focus sink: back to idle.
    void end() {
        if (busy_) {
            ++generation_;
            flash_.stop();
            busy_ = false;
            if (box_) box_->setReadOnly(false);
        }
        term_.clear();
        hidePointer();
        if (!box_) return;
        box_->setText(QStringLiteral("Search"));
        WidgetState& w = ps_.mainForm.form[kSearchBox];
        w.caption = "Search";
        w.background = kWhite;
    }

    ProgramState& ps_;
    Edit& edit_;
    QLineEdit* box_;
    HitPointer* pointer_;
    QTimer blink_, flash_;
    std::thread worker_;
    std::string term_;
    SearchCursor cursor_;
    QString typed_;
    int generation_ = 0;
    int flashes_ = 0;
    bool busy_ = false;
};

}  // namespace

void BindSearch(ProgramState& ps, Edit& edit) { new SearchWiring(ps, edit); }

}  // namespace pellion::ui
