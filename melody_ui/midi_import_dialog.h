#pragma once
// 190 "MIDIファイル読込み": which track and channel of a MIDI file becomes the tune, a column's
// note value and the transposition, with a line that says what the choice comes to. It opens
// on the import's own proposal; every choice is a control a replay answers.
//
//   1001  the tracks and channels, with their names and note counts
//   1002  a column's note value (drop-down list)
//   1003  the transposition in semitones
//   1004  what the choice comes to (columns, tempo, notes folded in or left out)

#include <QDialog>
#include <QPointer>
#include <optional>
#include <string_view>

#include "melody/exchange/midi_song.h"
#include "melody/exchange/score_from_midi.h"

class QComboBox;
class QLabel;
class QListWidget;
class QSpinBox;

namespace pendra2::melody_ui {

inline constexpr int kImportDialogId = 190;
inline constexpr int kImportPartList = 1001;
inline constexpr int kImportGridList = 1002;
inline constexpr int kImportTranspose = 1003;
inline constexpr int kImportSummary = 1004;

class MidiImportDialog final : public QDialog {
 public:
  MidiImportDialog(const melody::exchange::MidiSong& song, std::string_view fileName,
                   QWidget* parent);
  melody::exchange::ImportChoice choice() const;

 private:
  // Another part: its own proposal for the grid and the transposition.
  void PartChosen();
  void ShowSummary();

  const melody::exchange::MidiSong& song_;
  QListWidget* parts_ = nullptr;
  QComboBox* grid_ = nullptr;
  QSpinBox* transpose_ = nullptr;
  QLabel* summary_ = nullptr;
};

// How the import asks; the editor shows the dialog, tests answer directly.
class ImportChooser {
 public:
  virtual ~ImportChooser() = default;
  // Nothing when the user cancelled.
  virtual std::optional<melody::exchange::ImportChoice> Choose(
      const melody::exchange::MidiSong& song, std::string_view fileName) = 0;
};

class QtImportChooser final : public ImportChooser {
 public:
  explicit QtImportChooser(QWidget* owner = nullptr) : owner_(owner) {}
  std::optional<melody::exchange::ImportChoice> Choose(const melody::exchange::MidiSong& song,
                                                       std::string_view fileName) override;

 private:
  QPointer<QWidget> owner_;
};

// A track's name for the list: UTF-8 or Shift JIS as the file has it, no control characters.
QString PartName(const std::string& bytes);

}  // namespace pendra2::melody_ui
