#include "virtual_board/board_server.h"

#include <QLocalSocket>
#include <QPointer>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <vector>

#include "device/board_lock.h"
#include "device/virtual_wire.h"

namespace pendra2::virtual_board {

namespace wire = device::wire;

namespace {

// Every program that used this board made a lock file named after it (its device path is
// the board's name); once the board is gone that file serves no one, and without this each
// test run would leave hundreds of them behind.
void RemoveLockFile(const std::string& name) {
  const std::filesystem::path folder = device::LockFolder();
  if (folder.empty()) return;
  std::error_code ignored;  // none made, or already removed: just as good
  std::filesystem::remove(folder / device::LockFileName(name), ignored);
}

}  // namespace

BoardServer::BoardServer(const BoardOptions& options, QObject* parent)
    : QObject(parent), options_(options), model_(options.identity) {
  for (int i = 0; i < 3; ++i) model_.SetInput(i, options_.inputs[static_cast<std::size_t>(i)]);
  connect(&server_, &QLocalServer::newConnection, this, &BoardServer::Accept);
}

BoardServer::~BoardServer() {
  // The sockets are children of server_, which would delete them only after clients_ is
  // gone, and a socket deleted while connected emits disconnected into that map. So they
  // are cut off from this object and closed first, while everything is still alive.
  const bool served = server_.isListening();
  server_.close();
  for (QLocalSocket* socket : server_.findChildren<QLocalSocket*>(Qt::FindDirectChildrenOnly)) {
    socket->disconnect(this);
    socket->abort();
  }
  // A board refused its name never served it: the lock file is the running board's.
  if (served) RemoveLockFile(options_.name);
}

bool BoardServer::Listen(std::string& error) {
  const QString name = QString::fromStdString(options_.name);
  {
    // A live board under this name must not be pushed aside; a dead one's leftover socket
    // file may be.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(500)) {
      error = "a virtual board named '" + options_.name + "' is already running";
      return false;
    }
  }
  QLocalServer::removeServer(name);
  if (!server_.listen(name)) {
    error = "cannot serve '" + options_.name + "': " + server_.errorString().toStdString();
    return false;
  }
  if (!options_.logPath.empty()) {
    log_.open(options_.logPath, std::ios::app);
    if (!log_) {
      error = "cannot open the log file " + options_.logPath;
      server_.close();
      return false;
    }
  }
  return true;
}

void BoardServer::Accept() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    clients_[socket] = Client{};
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Consume(socket); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
      clients_.erase(socket);
      socket->deleteLater();
      emit changed();
    });
    emit changed();
  }
}

void BoardServer::Consume(QLocalSocket* socket) {
  // Looked up afresh each round: answering a report can drop connections, this one included.
  for (;;) {
    const auto it = clients_.find(socket);
    if (it == clients_.end()) return;
    QByteArray& in = it->second.pending;
    in += socket->readAll();
    if (in.isEmpty()) return;
    const auto tag = static_cast<uint8_t>(in[0]);
    if (tag == wire::kIdentify) {
      in.remove(0, 1);
      const uint16_t vid = model_.identity().vendorId;
      const uint16_t pid = model_.identity().productId;
      const char answer[wire::kIdentityFrame] = {
          static_cast<char>(wire::kIdentify), static_cast<char>(vid & 0xFF),
          static_cast<char>(vid >> 8), static_cast<char>(pid & 0xFF), static_cast<char>(pid >> 8)};
      socket->write(answer, sizeof answer);
      socket->flush();
    } else if (tag == wire::kOpen) {
      if (in.size() < static_cast<qsizetype>(wire::kOpenFrame)) return;
      it->second.access = static_cast<uint8_t>(in[1]);
      in.remove(0, wire::kOpenFrame);
      const char ack = static_cast<char>(wire::kOpen);
      socket->write(&ack, 1);
      socket->flush();
      emit changed();
    } else if (tag == wire::kWrite) {
      if (in.size() < static_cast<qsizetype>(wire::kReportFrame)) return;
      Report request{};
      for (std::size_t i = 0; i < request.size(); ++i) {
        request[i] = static_cast<uint8_t>(in[static_cast<qsizetype>(i) + 1]);
      }
      in.remove(0, wire::kReportFrame);
      HandleReport(request);
    } else {
      // Not our protocol: drop the connection rather than guess at frame boundaries.
      clients_.erase(it);
      socket->disconnectFromServer();
      return;
    }
  }
}

void BoardServer::HandleReport(const Report& request) {
  Log(request);
  const auto reply = model_.Receive(request);
  // The report log lives in the file; the model's copy would only grow.
  model_.ClearLog();
  if (model_.lastEvent() != BoardModel::Event::None) emit requested(model_.lastEvent());
  if (reply && !options_.noReply) {
    char frame[wire::kReportFrame];
    frame[0] = static_cast<char>(wire::kReply);
    for (std::size_t i = 0; i < reply->size(); ++i) frame[1 + i] = static_cast<char>((*reply)[i]);
    std::vector<QPointer<QLocalSocket>> readers;
    for (const auto& [socket, client] : clients_) {
      if (client.access == wire::kAccessRead || client.access == wire::kAccessReadWrite) {
        readers.emplace_back(socket);
      }
    }
    for (const auto& socket : readers) {
      if (socket.isNull()) continue;
      socket->write(frame, sizeof frame);
      socket->flush();
    }
  }
  if (options_.unplugAfter > 0 && ++reportsTaken_ >= options_.unplugAfter) Unplug();
  emit changed();
}

void BoardServer::Unplug() {
  if (!server_.isListening()) return;
  server_.close();
  std::vector<QPointer<QLocalSocket>> connected;
  for (const auto& [socket, client] : clients_) connected.emplace_back(socket);
  for (const auto& socket : connected) {
    if (!socket.isNull()) socket->abort();
  }
  RemoveLockFile(options_.name);
  std::cout << "virtual board '" << options_.name << "' unplugged" << std::endl;
}

void BoardServer::Log(const Report& request) {
  if (!log_.is_open()) return;
  // Flushed per line so that whoever reads the log sees every report already answered.
  log_ << HexLine(request) << '\n' << std::flush;
}

}  // namespace pendra2::virtual_board
