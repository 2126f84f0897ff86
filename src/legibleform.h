#ifndef LEGIBLEFORM_H
#define LEGIBLEFORM_H

#include <QFont>
#include <QProxyStyle>
#include <QStringList>

// The form places every widget at a fixed pixel size, laid out for a small
// font; with a desktop's usual 10 or 11 point font many captions and values
// are cut. The program therefore sets one application font of its own, in
// pixels so that it fits whatever the screen's resolution, and sets no font
// or style sheet on any single widget.

struct FormFontCandidate
{
    const char *family;
    int pixelSize; // the largest size at which every text of the form fits
};

// The families tried, best first: Liberation Sans (the Arial metrics Debian
// installs with its desktop) and Arial itself, then DejaVu Sans (always there
// with fontconfig), which runs wider and needs a smaller size.
const QList<FormFontCandidate> &formFontCandidates();

// The font for the form: the first candidate among the installed families
// (matched without regard to case), else the fallback's family at the
// smallest candidate size.
QFont formFont(const QStringList &installedFamilies, const QFont &fallback);

// The platform's style, except that a group box's title gets the room its
// text takes when drawn. Some styles size the title from the outline of the
// glyphs, a few pixels short of the text as laid out, and clip it there:
// long titles lost their last letters.
class TitleFittingStyle : public QProxyStyle
{
public:
    explicit TitleFittingStyle(const QString &baseStyle);

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                         SubControl subControl, const QWidget *widget) const override;
};

// Makes formFont, chosen from the fonts installed, the application's font,
// and TitleFittingStyle over the current one its style. Call after the
// QApplication exists and before any window is built.
void useLegibleForm();

#endif // LEGIBLEFORM_H
