#include "fake_replay_target.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace pendra2::ui::replay::testing {
namespace {

using interaction::PromptAnswer;
using interaction::PromptButtons;

QPushButton* AddButton(QDialog& dialog, QLayout& layout, const char* id, const QString& text) {
  auto* button = new QPushButton(text, &dialog);
  button->setObjectName(QString::fromLatin1(id));
  layout.addWidget(button);
  return button;
}

// A dialog that ignores Cancel, as a dialog that must not be left half-way does.
class StubbornDialog final : public QDialog {
 public:
  using QDialog::QDialog;
  void reject() override {}
};

// The window clicks go to; it notes each mouse event with its position and which widget
// received it.
class PointerFilter final : public QObject {
 public:
  explicit PointerFilter(std::vector<std::string>& events) : events_(events) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const char* kind = nullptr;
    if (event->type() == QEvent::MouseButtonPress) kind = "press";
    if (event->type() == QEvent::MouseButtonRelease) kind = "release";
    if (event->type() == QEvent::MouseMove) kind = "move";
    if (kind != nullptr) {
      const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
      events_.push_back(std::string(kind) + " " + watched->objectName().toStdString() + " " +
                        std::to_string(at.x()) + " " + std::to_string(at.y()));
    }
    return false;
  }

 private:
  std::vector<std::string>& events_;
};

}  // namespace

FakeWaitDialog::FakeWaitDialog(QWidget* owner, interaction::Prompter& prompter,
                               const QString& value)
    : QDialog(owner), prompter_(prompter) {
  setObjectName(QStringLiteral("184"));
  auto* layout = new QVBoxLayout(this);
  edit_ = new QLineEdit(value, this);
  edit_->setObjectName(QStringLiteral("3001"));
  edit_->setMaxLength(9);
  layout->addWidget(edit_);
  auto* buttons = new QHBoxLayout;
  layout->addLayout(buttons);
  connect(AddButton(*this, *buttons, "1", QStringLiteral("OK")), &QPushButton::clicked, this,
          &QDialog::accept);
  connect(AddButton(*this, *buttons, "2", QStringLiteral("キャンセル")), &QPushButton::clicked,
          this, &QDialog::reject);
}

void FakeWaitDialog::accept() {
  bool number = false;
  const double seconds = edit_->text().toDouble(&number);
  if (!number || seconds < 0 || seconds > 383) {
    prompter_.Ask({"0から383秒まで指定できます。", "注意！！", PromptButtons::Ok, {}});
    return;
  }
  QDialog::accept();
}

FakeReplayTarget::FakeReplayTarget(interaction::Prompter& prompter, interaction::FileChooser& files,
                                   PrintChooser& prints)
    : prompter_(prompter), files_(files), prints_(prints) {
  window_.setObjectName(QStringLiteral("window"));
  window_.resize(300, 200);
  window_.setMouseTracking(true);  // hover, as the editors' document windows have it
  // A child control over the click position: replayed clicks must not reach it.
  auto* child = new QPushButton(QStringLiteral("child"), &window_);
  child->setObjectName(QStringLiteral("child"));
  child->setGeometry(0, 0, 300, 200);
  window_.setWindowTitle(QStringLiteral("編集 [No Title]"));
  auto* filter = new PointerFilter(events);
  filter->setParent(&window_);
  window_.installEventFilter(filter);
  child->installEventFilter(filter);
}

bool FakeReplayTarget::Command(int id) {
  switch (id) {
    case kWaitDialog: {
      FakeWaitDialog dialog(&window_, prompter_, waitValue);
      if (dialog.exec() == QDialog::Accepted) waitValue = dialog.value();
      events.push_back("wait " + waitValue.toStdString());
      return true;
    }
    case kAskSave: {
      const PromptAnswer answer = prompter_.Ask(
          {"内容が変更されています\n保存しますか？", "終了", PromptButtons::YesNoCancel, {}});
      events.push_back("asked " + std::string(AnswerName(answer)));
      return true;
    }
    case kTellDone:
      prompter_.Ask({"保存が完了しました", "保存", PromptButtons::Ok, {}});
      return true;
    case kSaveAs: {
      const auto path =
          files_.Choose({interaction::FileDialogKind::Save, "アクティビティ図ファイル保存",
                         "flowchart FILE (*.flc)", "*.flc", "flc"});
      events.push_back("saved " + path.value_or("-"));
      return true;
    }
    case kPrint: {
      QPrinter printer;
      if (!prints_.Choose(printer, &window_)) {
        events.push_back("not printed");
        return true;
      }
      QPainter painter(&printer);
      painter.drawText(100, 100, QStringLiteral("page"));
      events.push_back("printed " + printer.outputFileName().toStdString());
      return true;
    }
    case kTuneDialog:
      OpenTuneDialog();
      return true;
    case kStubborn: {
      StubbornDialog dialog(&window_);
      dialog.setObjectName(QStringLiteral("186"));
      dialog.exec();
      events.emplace_back("stubborn closed");
      return true;
    }
    case kRename:
      window_.setWindowTitle(QStringLiteral("編集 [prog.flc]"));
      return true;
    default:
      return false;
  }
}

// A dialog whose buttons open a file dialog and a nested modal dialog from inside its own
// modal loop, as Stepcraft's tune dialog does.
void FakeReplayTarget::OpenTuneDialog() {
  QDialog dialog(&window_);
  dialog.setObjectName(QStringLiteral("185"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* path = new QLineEdit(&dialog);
  path->setObjectName(QStringLiteral("3001"));
  path->setReadOnly(true);
  layout->addWidget(path);
  QObject::connect(AddButton(dialog, *layout, "3002", QStringLiteral("参照")),
                   &QPushButton::clicked, &dialog, [&] {
                     const auto chosen = files_.Choose({interaction::FileDialogKind::Open,
                                                        "オルゴールファイル読込み",
                                                        "orgel FILE (*.olg)", "*.olg", "olg"});
                     if (chosen) path->setText(QString::fromStdString(*chosen));
                   });
  QObject::connect(AddButton(dialog, *layout, "3003", QStringLiteral("待機")),
                   &QPushButton::clicked, &dialog, [&] {
                     FakeWaitDialog nested(&dialog, prompter_, waitValue);
                     if (nested.exec() == QDialog::Accepted) waitValue = nested.value();
                   });
  AddButton(dialog, *layout, "1", QStringLiteral("OK"));
  AddButton(dialog, *layout, "2", QStringLiteral("キャンセル"));
  QObject::connect(dialog.findChild<QPushButton*>(QStringLiteral("1")), &QPushButton::clicked,
                   &dialog, &QDialog::accept);
  QObject::connect(dialog.findChild<QPushButton*>(QStringLiteral("2")), &QPushButton::clicked,
                   &dialog, &QDialog::reject);
  const bool accepted = dialog.exec() == QDialog::Accepted;
  events.push_back(std::string("tune ") + (accepted ? "ok " : "cancel ") +
                   path->text().toStdString());
}

bool FakeReplayTarget::Select(int listId, int index) {
  if (listId != kViewList || index > 1) return false;
  events.push_back("select " + std::to_string(index));
  return true;
}

void FakeReplayTarget::Scroll(ScrollKind kind, int position) {
  static constexpr const char* kNames[] = {"lineup", "linedown", "pageup", "pagedown", "thumb"};
  events.push_back(std::string("scroll ") + kNames[static_cast<int>(kind)] + " " +
                   std::to_string(position));
}

}  // namespace pendra2::ui::replay::testing
