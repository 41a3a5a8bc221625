#pragma once
// The main window (form Edit): every widget of the design table, showing
// ProgramState::mainForm. Rules live in ui/logic; this class only applies
// the state and forwards events.
#include <QPoint>
#include <QSize>
#include <QWidget>

#include <map>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "ui/logic/main_form.h"

namespace pellion::ui {

class Edit : public QWidget {
    Q_OBJECT

public:
    explicit Edit(ProgramState& ps, QWidget* parent = nullptr);

    // Shows the state: each widget's place, visibility, caption and colours,
    // then the window's size, position, state and z-order, then the one-shot
    // requests (raise, pending events, focus). Call after every rule.
    void applyState();

    // Fills a list's cells (ClipboardClip, Item, Trans, Group, hotkey) with
    // titles, each shown up to its first NUL.
    void fillCells(Family family, const std::vector<std::string>& titles);

    QWidget* widget(WidgetRef ref) const;
    const TwipScale& scale() const { return scale_; }

signals:
    // Mouse on a cell or tag of the four lists; the position is in twips
    // inside the cell.
    void cellMouse(pellion::ui::WidgetRef cell, pellion::ui::MouseAction action, pellion::ui::MouseButton button,
                   QPoint twips);
    // Mouse on any other widget (its rule, if any, has run already).
    void widgetMouse(pellion::ui::WidgetRef widget, pellion::ui::MouseAction action,
                     pellion::ui::MouseButton button);
    // The user closes the window (query-unload).
    void closing();
    // The native window was replaced (ProgramState::mainWindow follows).
    void windowIdChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* create(const WidgetState& w, QWidget* parent);
    void connectHandlers(const WidgetState& w, QWidget* widget);
    bool mouse(WidgetRef ref, QEvent* event);
    void applyWidget(std::size_t slot, bool boldChanged);
    void applyWindow();
    void applyRequests();
    void placeFrame(QPoint want, int triesLeft);
    QRect toPixels(const TwipRect& r) const;
    QSize clientPixels() const;

    ProgramState& ps_;
    TwipScale scale_;
    std::vector<QWidget*> widgets_;               // in the order of FormState::widgets()
    std::map<WidgetRef, std::size_t> slots_;
    std::map<const QObject*, WidgetRef> refs_;
    std::vector<WidgetState> applied_;            // what each widget shows now
    std::vector<bool> appliedOnce_;
    QSize appliedClient_;
    QPoint appliedPos_{-1, -1};
    int appliedTopmost_ = -1;
    int appliedSkipTaskbar_ = -1;
    bool appliedBold_ = false;
    std::string appliedCaption_;
    platform::WindowId nativeId_ = 0;  // the id ProgramState::mainWindow took from us
    bool applying_ = false;
    bool reapply_ = false;
};

}  // namespace pellion::ui
