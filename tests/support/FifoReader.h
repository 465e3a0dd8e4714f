#pragma once
// Reads a FIFO on a thread of its own from the moment it is made, so a program started after it
// always finds a reader; Received waits for the writer to close and returns all it wrote.

#include <filesystem>
#include <string>
#include <thread>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

class FifoReader {
  public:
    explicit FifoReader(const std::filesystem::path& fifo)
        : m_Fd(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK)), m_Thread([this] { Read(); }) {}
    ~FifoReader() {
        if (m_Thread.joinable()) m_Thread.join();
        if (m_Fd >= 0) ::close(m_Fd);
    }
    FifoReader(const FifoReader&) = delete;
    FifoReader& operator=(const FifoReader&) = delete;
    const std::string& Received() {
        if (m_Thread.joinable()) m_Thread.join();
        return m_Text;
    }

  private:
    void Read() {
        // Until a writer has come and gone, the FIFO reports no hang-up: poll waits for it.
        char buf[4096];
        while (m_Fd >= 0) {
            pollfd p{m_Fd, POLLIN, 0};
            if (poll(&p, 1, 30000) <= 0) return; // nobody wrote within 30 s
            const ssize_t n = ::read(m_Fd, buf, sizeof buf);
            if (n > 0)
                m_Text.append(buf, static_cast<size_t>(n));
            else if (n == 0 || errno != EAGAIN)
                return;
        }
    }
    int m_Fd;
    std::string m_Text;
    std::thread m_Thread;
};
