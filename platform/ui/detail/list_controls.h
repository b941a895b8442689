#pragma once
// The list box of the templates and its owner-drawn painting, and the small
// button and edit variants that Windows has and Qt does not.

#include <functional>
#include <memory>

#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QValidator>

#include "platform/ui/detail/window_link.h"

namespace platform::ui {
class ListBoxDrawer;
}

namespace platform::ui::detail {

// Item data lives in this role.
inline constexpr int kItemDataRole = Qt::UserRole + 1;

class ListBoxControl : public QListWidget {
 public:
  explicit ListBoxControl(QWidget* parent) : QListWidget(parent) {}
  // Called after the list box has handled a left button press itself.
  void SetLeftButtonHandler(std::function<void(const QPoint&)> handler) { onLeftButton_ = std::move(handler); }
  // Offered the space bar before the list box handles it; true when it took it.
  void SetSpaceKeyHandler(std::function<bool()> handler) { onSpaceKey_ = std::move(handler); }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::function<void(const QPoint&)> onLeftButton_;
  std::function<bool()> onSpaceKey_;
};

// Paints and measures the items of an owner-drawn list through its drawer.
class OwnerDrawDelegate : public QStyledItemDelegate {
 public:
  OwnerDrawDelegate(std::shared_ptr<WindowLink> link, std::shared_ptr<ListBoxDrawer> drawer, bool fixedHeight,
                    QObject* parent);

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  std::shared_ptr<WindowLink> link_;
  std::shared_ptr<ListBoxDrawer> drawer_;
  bool fixedHeight_;
  mutable int fixedItemHeight_ = -1;
};

// BS_CHECKBOX, BS_3STATE and BS_RADIOBUTTON: a click only reports; the program sets the mark.
class ManualCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void nextCheckState() override {}
};

class ManualRadioButton : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  void nextCheckState() override {}
};

// ES_UPPERCASE: what is typed becomes upper case.
class UpperCaseValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    input = input.toUpper();
    return Acceptable;
  }
};

// Where text goes in a list kept sorted ignoring case: after every item that
// does not sort after it.
int SortedInsertIndex(const QStringList& items, const QString& text);

}  // namespace platform::ui::detail
