#include "reports/RPDefaultAttrs.h"

namespace vyn {

RPTextBoxDefaAttr::RPTextBoxDefaAttr()
{
    backStyle = 1;
    format.Set(0, 3, 4);
}

RPGraphDefaAttr::RPGraphDefaAttr()
{
    width = 4320;
    height = 2880;
    backStyle = 1;
    axisX.Set(0, 0, 1, NoValue, NoValue, NoValue);
    axisY.Set(0, 0, 1, NoValue, NoValue, NoValue);
}

RPTextBoxDefaAttr& TextBoxDefaults()
{
    static RPTextBoxDefaAttr d;
    return d;
}
RPRectangleDefaAttr& RectangleDefaults()
{
    static RPRectangleDefaAttr d;
    return d;
}
RPLineDefaAttr& LineDefaults()
{
    static RPLineDefaAttr d;
    return d;
}
RPPictureDefaAttr& PictureDefaults()
{
    static RPPictureDefaAttr d;
    return d;
}
RPGraphDefaAttr& GraphDefaults()
{
    static RPGraphDefaAttr d;
    return d;
}

}  // namespace vyn
