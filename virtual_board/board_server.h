#pragma once
// Serves one board model under a local socket name, as VirtualTransport expects it.

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <fstream>
#include <map>

#include "virtual_board/board_options.h"

class QLocalSocket;

namespace pendra2::virtual_board {

class BoardServer : public QObject {
  Q_OBJECT
 public:
  explicit BoardServer(const BoardOptions& options, QObject* parent = nullptr);
  // Closes every client's connection, so each sees the board go, and stops serving.
  ~BoardServer() override;
  BoardServer(const BoardServer&) = delete;
  BoardServer& operator=(const BoardServer&) = delete;

  // False with a message when the name is taken by a running board or cannot be served.
  bool Listen(std::string& error);

  BoardModel& model() { return model_; }
  int attached() const { return static_cast<int>(clients_.size()); }

 signals:
  void changed();
  // After each request, what it asked of the board beyond a reply.
  void requested(pendra2::virtual_board::BoardModel::Event event);

 private:
  struct Client {
    QByteArray pending;
    uint8_t access = 0xFF;  // not declared yet: an enumeration connection
  };

  void Accept();
  void Consume(QLocalSocket* socket);
  void HandleReport(const Report& request);
  void Log(const Report& request);
  // Stops serving and cuts every connection, as a board pulled out of its port.
  void Unplug();

  BoardOptions options_;
  BoardModel model_;
  QLocalServer server_;
  std::map<QLocalSocket*, Client> clients_;
  std::ofstream log_;
  int reportsTaken_ = 0;
};

}  // namespace pendra2::virtual_board
