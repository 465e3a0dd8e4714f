#pragma once
// An off-screen 24-bit picture that the floor-plan pages and the print pages are drawn into, laid
// out as a device-independent bitmap so that it can be written as a BMP file or handed to a
// printer. Rows are stored top row first; each row holds blue, green, red bytes and is padded to a
// multiple of 4 bytes.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "dxf/DrawCanvas.h"

struct DadcFileHeader {
    uint16_t type = 19778; // "BM"
    uint32_t size = 0;     // image size + 54
    uint32_t offset = 54;
};

struct DadcInfoHeader {
    uint32_t size = 40;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 1;
    uint16_t bitCount = 24;
    uint32_t compression = 0; // none
    uint32_t imageSize = 0;
};

class CDADC {
  public:
    // Makes the picture width x height; false (reported) for sizes below 1 or a picture too large to make.
    bool ConstructForSize(int width, int height);
    // Makes the pixel store for the header; refuses a store that exists already.
    bool InitData(const DadcInfoHeader& info);
    // Frees the pixels; the object can be made again at another size.
    void Release();

    bool IsUsable() const { return !m_Bits.empty(); }
    int GetWidth() const { return m_iWidth; }
    int GetHeight() const { return m_iHeight; }
    int GetStride() const { return m_iStride; }
    size_t GetImageSize() const { return m_Bits.size(); }
    uint8_t* GetBits() { return m_Bits.empty() ? nullptr : m_Bits.data(); }
    const uint8_t* GetBits() const { return m_Bits.empty() ? nullptr : m_Bits.data(); }
    const DadcFileHeader& GetFileHeader() const { return m_FileHeader; }
    const DadcInfoHeader& GetInfoHeader() const { return m_InfoHeader; }

    void Fill(Rgb colour);
    // Black outside the picture.
    Rgb GetPixel(int x, int y) const;
    void SetPixel(int x, int y, Rgb colour);
    // The picture as a BMP file (rows bottom-up, as the format wants them); written safely.
    bool WriteBmp(const std::filesystem::path& path) const;

  private:
    int m_iWidth = 0;
    int m_iHeight = 0;
    int m_iStride = 0;
    DadcFileHeader m_FileHeader;
    DadcInfoHeader m_InfoHeader;
    std::vector<uint8_t> m_Bits;
};
