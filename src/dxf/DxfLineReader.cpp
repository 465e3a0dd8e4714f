#include "dxf/DxfLineReader.h"

#include <cstring>

bool CDxfLineReader::Open(const std::string& path) {
    Close();
    m_pFile = std::fopen(path.c_str(), "rb");
    if (!m_pFile) return false;
    m_Buffer.resize(kBlockSize);
    m_Pos = m_End = 0;
    m_bEof = m_bError = false;
    Fill();
    // The first carriage return decides: followed by a line feed (or none at all) the lines end
    // with LF; otherwise they end with bare CRs.
    const size_t probe = m_End < kProbeSize ? m_End : kProbeSize;
    const void* cr = std::memchr(m_Buffer.data(), '\r', probe);
    m_bBareCR = false;
    if (cr) {
        const size_t at = static_cast<const char*>(cr) - m_Buffer.data();
        m_bBareCR = at + 1 < m_End && m_Buffer[at + 1] != '\n';
    }
    return true;
}

void CDxfLineReader::Close() {
    if (m_pFile) std::fclose(m_pFile);
    m_pFile = nullptr;
}

bool CDxfLineReader::Fill() {
    if (!m_pFile || m_bEof) return false;
    if (m_Pos > 0) {
        // Keep the unread tail at the front.
        std::memmove(m_Buffer.data(), m_Buffer.data() + m_Pos, m_End - m_Pos);
        m_End -= m_Pos;
        m_Pos = 0;
    }
    const size_t n = std::fread(m_Buffer.data() + m_End, 1, m_Buffer.size() - m_End, m_pFile);
    if (n == 0) {
        if (std::ferror(m_pFile)) m_bError = true;
        m_bEof = true;
        return false;
    }
    m_End += n;
    return true;
}

bool CDxfLineReader::ReadLine(char* out, size_t capacity, size_t& length) {
    length = 0;
    if (capacity == 0) return false;
    const char terminator = m_bBareCR ? '\r' : '\n';
    bool gotAny = false;
    for (;;) {
        if (m_Pos >= m_End) {
            m_Pos = m_End = 0;
            if (!Fill()) break;
        }
        const char* start = m_Buffer.data() + m_Pos;
        const size_t avail = m_End - m_Pos;
        const char* stop = static_cast<const char*>(std::memchr(start, terminator, avail));
        const size_t take = stop ? static_cast<size_t>(stop - start) : avail;
        gotAny = true;
        if (length < capacity - 1) {
            const size_t room = capacity - 1 - length;
            const size_t n = take < room ? take : room;
            std::memcpy(out + length, start, n);
            length += n;
        }
        m_Pos += take;
        if (stop) {
            ++m_Pos; // the terminator
            if (m_bBareCR) {
                // A line feed after the CR belongs to the same line end.
                if (m_Pos >= m_End) {
                    m_Pos = m_End = 0;
                    Fill();
                }
                if (m_Pos < m_End && m_Buffer[m_Pos] == '\n') ++m_Pos;
            }
            break;
        }
    }
    if (!gotAny) {
        out[0] = '\0';
        return false;
    }
    // A text-mode read turns CR LF into LF.
    if (!m_bBareCR && length > 0 && out[length - 1] == '\r') --length;
    out[length] = '\0';
    return true;
}
