#pragma once
// What a photometric file (EULUMDAT or IESNA) says about its luminaire beyond the few fields a
// product takes: maker, lamp flux, light output ratio and the luminous intensity distribution.
// Read for the preview of an import; the product itself comes from CLumTypeData's import.

#include <string>
#include <vector>

class CPhotometry {
  public:
    // How the measured C planes stand for the whole circle.
    enum Symmetry {
        SYM_NONE = 0,       // every plane measured
        SYM_ROTATIONAL = 1, // one plane for all
        SYM_C0_C180 = 2,    // C0..C180 measured, mirrored about the C0-C180 plane
        SYM_C90_C270 = 3,   // C90..C270 measured, mirrored about the C90-C270 plane
        SYM_QUADRANT = 4    // C0..C90 measured, mirrored about both planes
    };

    // Reads by extension (.LDT or .IES, any case). False, with the reason, when the file cannot be
    // opened or holds no usable intensity table; the texts read before stay filled.
    bool ReadFile(const std::string& path, std::string* reason = nullptr);
    bool ReadLdtText(const std::string& text, std::string* reason = nullptr);
    bool ReadIesText(const std::string& text, std::string* reason = nullptr);

    // Intensity in the unit of GetIntensityUnit at the plane c and the angle gamma from the nadir
    // (degrees), interpolated linearly between the measured planes and angles; 0 outside the
    // measured angles and when nothing was read.
    double GetIntensity(double c, double gamma) const;
    double GetMaxIntensity() const;
    bool HasIntensities() const { return !m_Values.empty(); }
    // "cd/klm": per 1000 lm of lamp flux; "cd" for absolute photometry without a lamp flux.
    const char* GetIntensityUnit() const { return m_bRelative ? "cd/klm" : "cd"; }
    // Luminaire flux from the intensities, in lumens per 1000 lm when relative.
    double IntegrateFlux() const;

    std::string m_csMaker;       // LDT line 1, IES [MANUFAC]
    std::string m_csName;        // LDT line 9, IES [LUMINAIRE]
    std::string m_csNumber;      // LDT line 10, IES [LUMCAT]
    double m_dLampLumens = -1.0; // total lamp flux, lm; negative when the file gives none
    double m_dWatts = -1.0;      // total input power of the file, W; negative when unknown
    double m_dLor = -1.0;        // light output ratio, %; negative when unknown
    Symmetry m_eSymmetry = SYM_NONE;

  private:
    // Folds a plane angle into the measured range.
    double FoldPlane(double c) const;
    double PlaneValue(size_t plane, double gamma) const;
    bool Finish(std::string* reason);

    std::vector<double> m_Planes;              // measured C angles, ascending
    std::vector<double> m_Gammas;              // measured angles from the nadir, ascending
    std::vector<std::vector<double>> m_Values; // [plane][gamma]
    bool m_bRelative = true;
};
