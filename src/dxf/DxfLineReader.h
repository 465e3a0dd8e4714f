#pragma once
// Line reader of the DXF reader: one open file, read in large blocks, handing out one line at a
// time without allocating. Lines end with LF (a CR before it is dropped, as a text-mode read
// does) or, for files whose line ends are bare carriage returns, with CR.

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

class CDxfLineReader {
  public:
    static constexpr size_t kBlockSize = 1 << 18;
    // How much of the file's start is looked at to tell bare CR line ends from CR LF.
    static constexpr size_t kProbeSize = 2048;

    CDxfLineReader() = default;
    ~CDxfLineReader() { Close(); }
    CDxfLineReader(const CDxfLineReader&) = delete;
    CDxfLineReader& operator=(const CDxfLineReader&) = delete;

    // Opens the file and chooses the line end from its first bytes.
    bool Open(const std::string& path);
    void Close();
    bool IsBareCR() const { return m_bBareCR; }

    // Copies the next line, without its line end, into out (at most capacity - 1 characters; the
    // rest of a longer line is passed over) and terminates it. False when no character could be
    // read: at the end of the file or on a read error.
    bool ReadLine(char* out, size_t capacity, size_t& length);
    bool AtEof() const { return m_bEof && m_Pos >= m_End; }
    bool HadError() const { return m_bError; }

  private:
    bool Fill();

    std::FILE* m_pFile = nullptr;
    std::vector<char> m_Buffer;
    size_t m_Pos = 0;
    size_t m_End = 0;
    bool m_bEof = false;
    bool m_bError = false;
    bool m_bBareCR = false;
};
