#include "win32/layout_login_dialog_harness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// Writes what the screen shows of the dialog as a 24-bit BMP file.
void write_screenshot(const Clogin_dialog_on_thread& dialog, const std::string& path) {
    dialog.on_dialog_thread([&] {
        RedrawWindow(dialog.hwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    });
    const RECT w = dialog.window();
    const LONG width = w.right - w.left;
    const LONG height = w.bottom - w.top;
    const LONG row = (width * 3 + 3) / 4 * 4;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(row * height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, w.left, w.top, SRCCOPY);
    GdiFlush();

    BITMAPFILEHEADER file{};
    file.bfType = 0x4d42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + info.bmiHeader.biSizeImage;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), info.bmiHeader.biSizeImage);
    EXPECT_TRUE(out.good()) << path;

    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// Only on request (scripts/screenshot_login_sizes): the pictures are for people to look at.
TEST(login_dialog_screenshots, written_at_opening_size_and_enlarged_when_asked) {
    const char* directory = std::getenv("KETRIN_LOGIN_SCREENSHOTS");
    if (directory == nullptr || *directory == '\0') {
        GTEST_SKIP() << "KETRIN_LOGIN_SCREENSHOTS names no directory";
    }
    Clogin_dialog_on_thread dialog;
    write_screenshot(dialog, std::string(directory) + "/login_small.bmp");
    // Enlarged from the top-left corner of the screen, so that all of it is on the screen.
    const RECT w = dialog.window();
    SetWindowPos(dialog.hwnd(), nullptr, 0, 0, w.right - w.left + 240, w.bottom - w.top + 160,
                 SWP_NOZORDER);
    write_screenshot(dialog, std::string(directory) + "/login_large.bmp");
}

}  // namespace
