#pragma once
// "orvantis open <project file>" while the desktop program runs: the new process hands the file to
// the running program through a local socket of the user's and ends; the running program opens it
// as File > Open would.

#include <QObject>
#include <functional>
#include <string>

class QLocalServer;

// The socket the desktop programs of this user listen on: in $XDG_RUNTIME_DIR (private to the
// user) when it is set, else in the temporary folder with the user's id in its name.
QString OpenRequestSocketName();

// Hands the project file to a running desktop program; true once it has confirmed the receipt.
// False when none runs (or it did not answer in time).
bool HandOverToRunningProgram(const std::string& projectFile);

// Listens for project files handed over by later "open" commands; each one received is passed to
// the handler from the event loop, after the sender has been answered.
class COpenRequestServer : public QObject {
    Q_OBJECT
  public:
    using Handler = std::function<void(const std::string& projectFile)>;
    explicit COpenRequestServer(Handler handler, QObject* parent = nullptr);
    ~COpenRequestServer() override;

    // Starts listening unless another desktop program of the user already does; a socket left
    // by a program that ended without removing it is replaced. False when not listening.
    bool Listen(const QString& name = OpenRequestSocketName());
    bool IsListening() const;

  private:
    void Accept();
    Handler m_handler;
    QLocalServer* m_pServer = nullptr;
};
