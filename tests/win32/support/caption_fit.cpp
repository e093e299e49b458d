#include "tests/win32/support/caption_fit.h"

#include <sstream>

#include "tests/win32/support/text.h"

namespace e2e {

std::vector<std::string> CaptionsThatDoNotFit(const std::wstring& measures, UINT dpi) {
    std::vector<std::string> misfits;
    std::wistringstream lines(measures);
    std::wstring line;
    const auto scaled = [dpi](int pixels) { return MulDiv(pixels, static_cast<int>(dpi), 96); };
    while (std::getline(lines, line)) {
        std::wistringstream fields(line);
        int id = 0, width = 0, height = 0, extent = 0, lineHeight = 0, wrappedWidth = 0, wrappedHeight = 0, zero = 0;
        unsigned long style = 0;
        std::wstring kind;
        if (!(fields >> id >> kind >> style >> width >> height >> extent >> lineHeight >> wrappedWidth >>
              wrappedHeight >> zero))
            continue;
        std::wstring face;
        std::getline(fields >> std::ws, face);
        int neededWidth = 0, neededHeight = 0;
        if (_wcsicmp(kind.c_str(), L"Button") == 0) {
            switch (style & BS_TYPEMASK) {
            case BS_PUSHBUTTON:
            case BS_DEFPUSHBUTTON:
                neededWidth = extent + scaled(6);
                neededHeight = lineHeight + scaled(4);
                break;
            case BS_GROUPBOX:
                neededWidth = extent + scaled(16);
                neededHeight = lineHeight;
                break;
            default:  // check boxes and radio buttons; 2 for the focus rectangle
                neededWidth = scaled(13) + zero / 2 + extent + 2;
                neededHeight = lineHeight;
                break;
            }
        } else if (_wcsicmp(kind.c_str(), L"Static") == 0 && (style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP) {
            neededWidth = extent;
            neededHeight = lineHeight;
        } else if (_wcsicmp(kind.c_str(), L"Static") == 0) {
            neededWidth = wrappedWidth;
            neededHeight = wrappedHeight;
        }
        if (neededWidth > width || neededHeight > height) {
            std::ostringstream out;
            out << "control " << id << " (" << Utf8(kind) << ", " << Utf8(face) << ") at " << dpi << " DPI needs " << neededWidth << " x "
                << neededHeight << " and is " << width << " x " << height;
            misfits.push_back(out.str());
        }
    }
    return misfits;
}

}  // namespace e2e
