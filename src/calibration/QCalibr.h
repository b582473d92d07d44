#pragma once
#include <string>
#include <vector>

namespace vyn {

// QCalibrModel
enum QCalibrModel {
    cmLinear = 0,
    cmParabole = 1,
    cmCubicParabole = 2,
    cmPointToPoint = 3,
    cmSpline = 4,
    cmFourParameter = 5,
};

// QCalState
enum QCalState {
    csFailed = -1,
    csNotCalculated = 0,
    csValid = 1,
};

// Indexes of QCalResults.
enum QCalResultIndex {
    crDrawLo = 0, crDrawHi = 1,     // range over which CurveY answers
    crFullLo = 2, crFullHi = 3,     // widest interval SetRange accepts
    crRangeLo = 4, crRangeHi = 5,   // concentration range of inverse calculation
    crSignalLo = 6, crSignalHi = 7, // curve's signals at 4 and 5, smaller first
    crParams = 8,                   // model parameters from here on
};

// One well entry of the standards sample, in entry order: the standard (group, 0-based) it
// belongs to, its well's data value and whether it is a reference (blank) well.
struct QCalEntry {
    int group;
    double value;
    bool blank;
};

// The calibration curve of one plate: the points taken from the standards, the fit by one of
// six models, its state and message, and the questions the program asks of a curve.
class QCalibr {
public:
    QCalibr();

    static int ModelCount() { return 6; }
    static bool HasLogOption(int model) { return model != cmFourParameter; }
    // Empty for a model outside 0-5.
    static const std::string& ModelName(int model);
    static const std::string& ModelFormula(int model);

    // 0: stored or nothing differs; 2: copied while not calculated; 1: copied and invalidated.
    int SetParams(int model, int decreasing, int logX, const std::vector<double>& concentrations,
                  int fixedK, double K0, double K1);
    // Sets every field from what a file held. The data are checked first: a model outside 0-5,
    // point arrays shorter than the excluded flags, or fitInts/results that do not cover what the
    // model's operations read are refused; the calibration then keeps its parameters, is not
    // stored, and fails (state -1) with the reason as message. Returns whether it was accepted.
    bool Restore(int stored, int state, int model, int decreasing, int logX,
                 const std::vector<double>& concentrations, int fixedK, double K0, double K1,
                 const std::string& memo, const std::string& message, const std::vector<double>& x,
                 const std::vector<double>& y, const std::vector<int>& excluded,
                 const std::vector<int>& fitInts, const std::vector<double>& results);
    void Assign(const QCalibr& other);
    int Remember();
    int Release();
    int Invalidate();
    // nullptr: the plate has no standards sample. 0 nothing done, -1 points failed, 1 fitted.
    int Recalc(const std::vector<QCalEntry>* standards);
    // One int per point: excluded = bit 0 xor bit 1. Missing ints count as 0. Returns the new state.
    int ApplyPointFlags(const std::vector<int>& flags);
    int SetRange(double lo, double hi);
    // Whether the current range of a valid fit is other than the one its fit left, as after the
    // user's SetRange; also for a curve taken whole from a file, whose range may be the user's.
    bool RangeChanged() const;
    // Whether a valid, unstored curve holds what fitting the standards again would not give
    // back: points the user excluded, or the user's range.
    bool HasUserChanges() const;

    // The lines in which a valid fit reports its parameters, each ended by CR LF: the
    // coefficients of a polynomial from the highest down, or A to D of the four-parameter curve;
    // empty for the other models and for parameters that are not all there.
    std::string ParameterLines() const;

    int TestY(double y) const;
    int XFromY(double& y) const;
    double Slope(double x) const;
    double CurveY(double x) const;

    int PointCount() const { return static_cast<int>(pointX.size()); }
    void ResetWork(int nInts, int nResults);
    void Fit();

    // Models; each sets state, message, fitInts and results. x, y are the used points in
    // ascending concentration (working copies the model may change), n their number, distinct
    // the number of distinct concentrations among them.
    void FitPolynomial(std::vector<double>& x, std::vector<double>& y, int n, int distinct);
    int PolyXFromY(double& y) const;
    double PolySlope(double x) const;
    double PolyCurveY(double x) const;

    void FitPointToPoint(std::vector<double>& x, std::vector<double>& y, int n, int distinct);
    int P2PXFromY(double& y) const;
    double P2PSlope(double x) const;
    double P2PCurveY(double x) const;

    void FitSpline(std::vector<double>& x, std::vector<double>& y, int n, int distinct);
    int SplineXFromY(double& y) const;
    double SplineSlope(double x) const;
    double SplineCurveY(double x) const;

    void FitFourParameter(std::vector<double>& x, std::vector<double>& y, int n, int distinct);
    int XFromYFourParameter(double& y) const;
    double SlopeFourParameter(double x) const;
    double CurveYFourParameter(double x) const;

    int model = cmLinear;
    int decreasing = 0;
    int logX = 0;
    int fixedK = 0;
    double K0 = 0.0;
    double K1 = 1.0;
    std::vector<double> concentrations;
    int stored = 0;
    std::string memo;
    int state = csNotCalculated;
    std::string message;
    std::vector<int> fitInts;
    std::vector<double> results;  // QCalResults, never fewer than 8 entries

    // Points: concentration ascending, signal, excluded flag (nonzero: not used by the fit).
    std::vector<double> pointX;
    std::vector<double> pointY;
    std::vector<int> pointExcluded;

private:
    // The curve's definition as SetParams takes it, stored without any check or invalidation.
    void AssignDefinition(int model, int decreasing, int logX,
                          const std::vector<double>& concentrations, int fixedK, double K0,
                          double K1);
    int BuildPoints(const std::vector<QCalEntry>& standards);
    // The current range as the last fit here left it; unknown (NoValue) for a curve restored
    // from a file.
    double fittedLo_;
    double fittedHi_;
    void Fail(int id);
    void ClearPoints();
    bool LayoutFits() const;
    // Node count m of the point-to-point and spline layouts, read from fitInts[0].
    int NodeCount() const { return fitInts.empty() ? 0 : fitInts[0]; }
    double T(double x) const;       // the fit's variable for a concentration
    double Conc(double t) const;    // back to a concentration
};

}  // namespace vyn
