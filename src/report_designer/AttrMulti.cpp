#include "report_designer/AttrMulti.h"

#include "reports/RPObject.h"

namespace vyn {

namespace {

using IntGet = int (RPObjAttr::*)() const;
using IntSet = void (RPObjAttr::*)(int);

constexpr int kNoInt = 32767;
constexpr int kNoColour = -1;

// Positions and sizes that differ by a rounding step or two still count as one value, so
// that objects placed by mouse on a coarse grid read as aligned.
int NearGet(const std::vector<RPObject*>& objs, IntGet get)
{
    int lo = kNoInt, hi = kNoInt;
    bool any = false;
    for (const RPObject* o : objs) {
        const int v = (o->*get)();
        if (v == kNoInt) continue;
        if (!any) {
            lo = hi = v;
            any = true;
        } else if (v < lo) {
            lo = v;
        } else if (v > hi) {
            hi = v;
        }
    }
    if (hi == kNoInt) return kNoInt;
    if (hi - lo >= 3) return kNoInt;
    return (lo + hi) / 2;
}

int ExactGet(const std::vector<RPObject*>& objs, int code, IntGet get, int marker)
{
    int result = marker;
    bool found = false;
    for (const RPObject* o : objs) {
        if (!o->HasAttr(code)) continue;
        const int v = (o->*get)();
        if (!found) {
            result = v;
            found = true;
        } else if (v != result) {
            return marker;
        }
    }
    return result;
}

template <class Fn>
void ForEachHaving(const std::vector<RPObject*>& objs, int code, Fn fn)
{
    for (RPObject* o : objs)
        if (o->HasAttr(code)) fn(*o);
}

void IntSetAll(const std::vector<RPObject*>& objs, int code, IntSet set, int v)
{
    ForEachHaving(objs, code, [&](RPObject& o) { (o.*set)(v); });
}

const std::string& TextGet(const std::vector<RPObject*>& objs, int code,
                           const std::string& (RPObjAttr::*get)() const)
{
    const std::string* first = nullptr;
    for (const RPObject* o : objs) {
        if (!o->HasAttr(code)) continue;
        const std::string& t = (o->*get)();
        if (!first) first = &t;
        else if (t != *first) return EmptyText();
    }
    return first ? *first : EmptyText();
}

// Shared result records: one per attribute for the whole program, overwritten by each get.
QRSource& SharedSource() { static QRSource s; return s; }
RPNumFormat& SharedFormat() { static RPNumFormat f; return f; }
RPAxisSpec& SharedAxis(int which) { static RPAxisSpec a[2]; return a[which]; }

void ResetAxis(RPAxisSpec& a) { a.Set(-1, 0, 1, NoValue, NoValue, NoValue); }

const RPAxisSpec& AxisGet(const std::vector<RPObject*>& objs, int which)
{
    const int code = which == 0 ? acAxisX : acAxisY;
    RPAxisSpec& r = SharedAxis(which);
    ResetAxis(r);
    bool found = false;
    for (const RPObject* o : objs) {
        if (!o->HasAttr(code)) continue;
        const RPAxisSpec& a = which == 0 ? o->GetAxisX() : o->GetAxisY();
        if (!found) {
            r.Assign(a);
            found = true;
        } else if (!(r == a)) {
            ResetAxis(r);
            return r;
        }
    }
    return r;
}

}  // namespace

const std::vector<RPObject*>& RPMultiAttr::Objects() const
{
    static const std::vector<RPObject*> none;
    return selection_ ? *selection_ : none;
}

bool RPMultiAttr::HasAttr(int code) const
{
    for (const RPObject* o : Objects())
        if (!o->HasAttr(code)) return false;
    return true;
}

int RPMultiAttr::GetLeft() const { return NearGet(Objects(), &RPObjAttr::GetLeft); }
int RPMultiAttr::GetTop() const { return NearGet(Objects(), &RPObjAttr::GetTop); }
int RPMultiAttr::GetWidth() const { return NearGet(Objects(), &RPObjAttr::GetWidth); }
int RPMultiAttr::GetHeight() const { return NearGet(Objects(), &RPObjAttr::GetHeight); }
void RPMultiAttr::SetLeft(int v) { IntSetAll(Objects(), acLeft, &RPObjAttr::SetLeft, v); }
void RPMultiAttr::SetTop(int v) { IntSetAll(Objects(), acTop, &RPObjAttr::SetTop, v); }
void RPMultiAttr::SetWidth(int v) { IntSetAll(Objects(), acWidth, &RPObjAttr::SetWidth, v); }
void RPMultiAttr::SetHeight(int v) { IntSetAll(Objects(), acHeight, &RPObjAttr::SetHeight, v); }

#define VYN_MULTI_INT(Name, code, marker)                                                            \
    int RPMultiAttr::Get##Name() const { return ExactGet(Objects(), code, &RPObjAttr::Get##Name, marker); } \
    void RPMultiAttr::Set##Name(int v) { IntSetAll(Objects(), code, &RPObjAttr::Set##Name, v); }

VYN_MULTI_INT(BorderStyle, acBorderStyle, kNoInt)
VYN_MULTI_INT(BorderWidth, acBorderWidth, kNoInt)
VYN_MULTI_INT(BorderLnStyle, acBorderLnStyle, kNoInt)
VYN_MULTI_INT(BackStyle, acBackStyle, kNoInt)
VYN_MULTI_INT(TextAlignH, acTextAlignH, kNoInt)
VYN_MULTI_INT(TextAlignV, acTextAlignV, kNoInt)
VYN_MULTI_INT(LineSlant, acLineSlant, kNoInt)
VYN_MULTI_INT(RGBBorder, acRGBBorder, kNoColour)
VYN_MULTI_INT(RGBBack, acRGBBack, kNoColour)
VYN_MULTI_INT(RGBFore, acRGBFore, kNoColour)
VYN_MULTI_INT(SizeMode, acSizeMode, kNoInt)
VYN_MULTI_INT(RGBCurve, acRGBCurve, kNoColour)
VYN_MULTI_INT(RGBPoint, acRGBPoint, kNoColour)
VYN_MULTI_INT(CurveWidth, acCurveWidth, kNoInt)
VYN_MULTI_INT(CurveRange, acCurveRange, kNoInt)
VYN_MULTI_INT(DrawGrid, acDrawGrid, kNoInt)
VYN_MULTI_INT(GridWidth, acGridWidth, kNoInt)
VYN_MULTI_INT(DrawAxes, acDrawAxes, kNoInt)
VYN_MULTI_INT(AxesWidth, acAxesWidth, kNoInt)
VYN_MULTI_INT(DrawLabels, acDrawLabels, kNoInt)
#undef VYN_MULTI_INT

const RPLogFont* RPMultiAttr::GetFont() const
{
    const RPLogFont* first = nullptr;
    bool found = false;
    for (const RPObject* o : Objects()) {
        if (!o->HasAttr(acFont)) continue;
        const RPLogFont* f = o->GetFont();
        if (!found) {
            first = f;
            found = true;
        } else if (SameLogFont(first, f) != 0) {
            return nullptr;
        }
    }
    return first;
}

void RPMultiAttr::SetFont(const RPLogFont& f)
{
    ForEachHaving(Objects(), acFont, [&](RPObject& o) { o.SetFont(f); });
}

const std::string& RPMultiAttr::GetContents() const { return TextGet(Objects(), acContents, &RPObjAttr::GetContents); }
const std::string& RPMultiAttr::GetCondition() const { return TextGet(Objects(), acCondition, &RPObjAttr::GetCondition); }
void RPMultiAttr::SetContents(const std::string& v)
{
    ForEachHaving(Objects(), acContents, [&](RPObject& o) { o.SetContents(v); });
}
void RPMultiAttr::SetCondition(const std::string& v)
{
    ForEachHaving(Objects(), acCondition, [&](RPObject& o) { o.SetCondition(v); });
}

const RPNumFormat& RPMultiAttr::GetFormat() const
{
    RPNumFormat& r = SharedFormat();
    r.Set(-1, 3, 4);
    bool found = false;
    for (const RPObject* o : Objects()) {
        if (!o->HasAttr(acFormat)) continue;
        const RPNumFormat& f = o->GetFormat();
        if (!found) {
            r = f;
            found = true;
        } else if (!(r == f)) {
            r.Set(-1, 3, 4);
            return r;
        }
    }
    return r;
}

void RPMultiAttr::SetFormat(const RPNumFormat& v)
{
    ForEachHaving(Objects(), acFormat, [&](RPObject& o) { o.SetFormat(v); });
}

const QRSource& RPMultiAttr::GetSource() const
{
    QRSource& r = SharedSource();
    r.Set(-1, std::string(), std::string());
    bool found = false;
    for (const RPObject* o : Objects()) {
        if (!o->HasAttr(acSource)) continue;
        const QRSource& s = o->GetSource();
        if (!found) {
            r.Assign(s);
            found = true;
        } else if (!(r == s)) {
            r.Set(-1, std::string(), std::string());
            return r;
        }
    }
    return r;
}

void RPMultiAttr::SetSource(const QRSource& v)
{
    ForEachHaving(Objects(), acSource, [&](RPObject& o) { o.SetSource(v); });
}

const RPAxisSpec& RPMultiAttr::GetAxisX() const { return AxisGet(Objects(), 0); }
const RPAxisSpec& RPMultiAttr::GetAxisY() const { return AxisGet(Objects(), 1); }
void RPMultiAttr::SetAxisX(const RPAxisSpec& v)
{
    ForEachHaving(Objects(), acAxisX, [&](RPObject& o) { o.SetAxisX(v); });
}
void RPMultiAttr::SetAxisY(const RPAxisSpec& v)
{
    ForEachHaving(Objects(), acAxisY, [&](RPObject& o) { o.SetAxisY(v); });
}

}  // namespace vyn
