#include "calc/ZoneFactors.h"

#include "base/Logger.h"
#include "calc/CalcLog.h"
#include "tables/LENITables.h"

double GetZoneFo(int foMode, double fa, const std::string& occupancySystem) {
    if (foMode == kFoModeAlwaysOne) return 1.0;
    return CLENITables::GetFoFromFaUsingE1(fa, occupancySystem);
}

double GetZoneFc(const ZoneFcInputs& zone, double roomMF) {
    double fc;
    if (zone.bConstantIllumination) {
        fc = 1.0 - ((0.5 * zone.dFcc) * (1.0 - roomMF));
        CalcLogPrintf("        Fc con CIC Fc[%6.3f] = 1.0 - ((0.5*m_Fcc[%6.3f])*(1.0 - kRoomMF[%6.3f])  ", fc,
                      zone.dFcc, roomMF);
    } else if (zone.bConstantLumenOutput) {
        fc = (1 + roomMF) * 0.5;
        // The maintenance factor is not printed on this line; the bracket shows the format letters.
        CalcLogPrintf("        Fc con CLO Fc[%6.3f] =  (1 + kRoomMF[6.3f]) / 2.0", fc);
    } else {
        fc = 1.0;
        CalcLogPrintf("        Fc No CLO No CIC Fc[%6.3f]", fc);
    }
    if (zone.bConstantIllumination || zone.bConstantLumenOutput) {
        double fcod;
        if (zone.dZoneLuxReal > 0.0) {
            fcod = zone.dZoneLux / zone.dZoneLuxReal;
        } else {
            // The zone never accepts such a design illuminance; a value from elsewhere must not
            // turn the energy into infinity.
            Log().Printf(LOG_ERROR, "GetZoneFc design illuminance %.3f lx is not above 0, Fcod=1 used",
                         zone.dZoneLuxReal);
            fcod = 1.0;
        }
        fc = fc * fcod;
        CalcLogPrintf("        Fc=[%6.3f] (because CLO or CIC and Fcod=[%.3f])", fc, fcod);
    }
    return fc;
}
