#include "dxf/DADC.h"

#include "base/FileUtils.h"
#include "base/Logger.h"
#include "base/MessageBoxes.h"

#include <new>
#include <string>

namespace {

// Larger pictures than this are refused rather than risking the memory of the whole program.
constexpr uint64_t kMaxImageBytes = uint64_t(1) << 31;

void PutU16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void PutU32(std::string& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

} // namespace

bool CDADC::ConstructForSize(int width, int height) {
    if (width <= 0 || height <= 0) {
        Log().Printf(LOG_INFO, "CDADC::ConstructForSize() strange\nsizes : %d by %d.", width, height);
        return false;
    }
    Release();
    DadcInfoHeader info;
    info.width = width;
    info.height = height;
    if (!InitData(info)) {
        AlertBox("CDADC::ConstructForSize (%d,%d),\ncannot InitData(). You may be running\nout of memory.",
                 width, height);
        return false;
    }
    return true;
}

bool CDADC::InitData(const DadcInfoHeader& info) {
    if (!m_Bits.empty()) {
        Log().Printf(LOG_INFO, "CDADC::InitData called with non nullptr pBits");
        return false;
    }
    if (info.width < 1) {
        Log().Printf(LOG_INFO, "CDADC::InitData called width=%d", info.width);
        return false;
    }
    if (info.height < 1) {
        Log().Printf(LOG_INFO, "CDADC::InitData called height=%d", info.height);
        return false;
    }
    const uint64_t stride = ((3 * uint64_t(info.width) + 3) / 4) * 4;
    const uint64_t imageSize = stride * uint64_t(info.height);
    bool made = imageSize <= kMaxImageBytes;
    if (made) {
        try {
            m_Bits.assign(static_cast<size_t>(imageSize), 0); // cleared to black
        } catch (const std::bad_alloc&) {
            made = false;
        }
    }
    if (!made) {
        m_Bits.clear();
        AlertBox("(CreateDIBSection h=%d, p=%d, [%d pixels by %d])\nYou may be running out of Windows memory "
                 "resources.",
                 0, 0, info.width, info.height);
        return false;
    }
    m_iWidth = info.width;
    m_iHeight = info.height;
    m_iStride = static_cast<int>(stride);
    m_InfoHeader = info;
    m_InfoHeader.imageSize = static_cast<uint32_t>(imageSize);
    m_FileHeader = DadcFileHeader();
    m_FileHeader.size = static_cast<uint32_t>(imageSize + 54);
    return true;
}

void CDADC::Release() {
    std::vector<uint8_t>().swap(m_Bits);
    m_iWidth = m_iHeight = m_iStride = 0;
    m_FileHeader = DadcFileHeader();
    m_InfoHeader = DadcInfoHeader();
}

void CDADC::Fill(Rgb colour) {
    for (int y = 0; y < m_iHeight; ++y) {
        uint8_t* row = m_Bits.data() + size_t(y) * m_iStride;
        for (int x = 0; x < m_iWidth; ++x) {
            row[3 * x] = static_cast<uint8_t>(RgbBlue(colour));
            row[3 * x + 1] = static_cast<uint8_t>(RgbGreen(colour));
            row[3 * x + 2] = static_cast<uint8_t>(RgbRed(colour));
        }
    }
}

Rgb CDADC::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_iWidth || y >= m_iHeight) return 0;
    const uint8_t* p = m_Bits.data() + size_t(y) * m_iStride + 3 * size_t(x);
    return MakeRgb(p[2], p[1], p[0]);
}

void CDADC::SetPixel(int x, int y, Rgb colour) {
    if (x < 0 || y < 0 || x >= m_iWidth || y >= m_iHeight) return;
    uint8_t* p = m_Bits.data() + size_t(y) * m_iStride + 3 * size_t(x);
    p[0] = static_cast<uint8_t>(RgbBlue(colour));
    p[1] = static_cast<uint8_t>(RgbGreen(colour));
    p[2] = static_cast<uint8_t>(RgbRed(colour));
}

bool CDADC::WriteBmp(const std::filesystem::path& path) const {
    if (!IsUsable()) return false;
    std::string out;
    out.reserve(m_Bits.size() + 54);
    PutU16(out, m_FileHeader.type);
    PutU32(out, m_FileHeader.size);
    PutU32(out, 0); // reserved
    PutU32(out, m_FileHeader.offset);
    PutU32(out, m_InfoHeader.size);
    PutU32(out, static_cast<uint32_t>(m_InfoHeader.width));
    PutU32(out, static_cast<uint32_t>(m_InfoHeader.height));
    PutU16(out, m_InfoHeader.planes);
    PutU16(out, m_InfoHeader.bitCount);
    PutU32(out, m_InfoHeader.compression);
    PutU32(out, m_InfoHeader.imageSize);
    PutU32(out, 2835); // 72 pixels per inch, both ways
    PutU32(out, 2835);
    PutU32(out, 0);
    PutU32(out, 0);
    for (int y = m_iHeight - 1; y >= 0; --y)
        out.append(reinterpret_cast<const char*>(m_Bits.data()) + size_t(y) * m_iStride, m_iStride);
    std::string reason;
    if (!WriteFileSafely(path, out, &reason)) {
        Log().Printf(LOG_ERROR, "Could not write the picture %s\n%s", path.string().c_str(), reason.c_str());
        return false;
    }
    return true;
}
