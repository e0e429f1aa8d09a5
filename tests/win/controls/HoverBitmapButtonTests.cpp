// The hover bitmap button on real static controls: pointer messages in, capture, faces, flags,
// sounds and actions out.
#include "controls/Effects.h"
#include "controls/HoverBitmapButton.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace {

const int kFaceWidth = 40;
const int kFaceHeight = 20;

std::vector<std::string> g_sounds;
std::vector<std::string> g_actions;
std::function<std::string()> g_describeState;

void RecordSound(const CString& strFileName) {
    g_sounds.push_back(strFileName.GetString());
}
void RecordChooser() {
    g_actions.push_back("chooser " + g_describeState());
}
void RecordReadme() {
    g_actions.push_back("readme " + g_describeState());
}

enum StepKind { MoveIn, MoveOut, Down, Up, DragOut, HostTakesCapture };
struct Step {
    StepKind kind;
    int button;
};

// Three buttons on real statics, wired as the launcher wires them: 0 installs, 1 opens the readme,
// 2 quits. Sounds and actions go to the recorders while the group lives.
class HoverGroup {
public:
    static constexpr const char* kNames[3] = {"install", "readme", "quit"};

    HoverGroup() : m_host(40, 40, 300, 220) {
        test::DrainQueue();
        HDC screen = ::GetDC(nullptr);
        for (int i = 0; i < 3; ++i) {
            for (HBITMAP& face : m_faces[i])
                face = ::CreateCompatibleBitmap(screen, kFaceWidth, kFaceHeight);
            HWND h = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_NOTIFY, 10,
                                       10 + 60 * i, kFaceWidth, kFaceHeight, m_host.m_hWnd,
                                       reinterpret_cast<HMENU>(INT_PTR(1000 + i)), nullptr, nullptr);
            // The template shows the normal face from the start.
            ::SendMessageA(h, STM_SETIMAGE, IMAGE_BITMAP, LPARAM(m_faces[i][0]));
            EXPECT_TRUE(m_buttons[i].SubclassWindow(h));
            m_buttons[i].SetNormalBitmap(m_faces[i][0]);
            m_buttons[i].SetHoverBitmap(m_faces[i][1]);
            m_buttons[i].SetPressedBitmap(m_faces[i][2]);
            m_buttons[i].SetAction(HoverAction(i));
        }
        ::ReleaseDC(nullptr, screen);
        m_buttons[0].SetSiblings(&m_buttons[2], &m_buttons[1]);
        m_buttons[1].SetSiblings(&m_buttons[2], &m_buttons[0]);
        m_buttons[2].SetSiblings(&m_buttons[1], &m_buttons[0]);

        g_sounds.clear();
        g_actions.clear();
        g_describeState = [this] { return "capture=" + CaptureName() + " faces=" + Faces(); };
        m_previousPlayer = SetSoundPlayer(&RecordSound);
        SetHoverActionHandlers(&RecordChooser, &RecordReadme);
    }

    ~HoverGroup() {
        ::ReleaseCapture();
        SetSoundPlayer(m_previousPlayer);
        SetHoverActionHandlers(nullptr, nullptr);
        g_describeState = nullptr;
        for (CHoverBitmapButton& b : m_buttons)
            b.DestroyWindow();
        m_host.DestroyWindow();
        for (auto& faces : m_faces)
            for (HBITMAP face : faces)
                ::DeleteObject(face);
        test::DrainQueue();
    }

    void Run(const Step& step) {
        HWND h = step.button >= 0 ? m_buttons[step.button].m_hWnd : nullptr;
        switch (step.kind) {
        case MoveIn:
            ::SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(kFaceWidth / 2, kFaceHeight / 2));
            break;
        case MoveOut:
            ::SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(kFaceWidth / 2, kFaceHeight + 40));
            break;
        case DragOut:
            ::SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-3, kFaceHeight / 2));
            break;
        case Down:
            ::SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            break;
        case Up:
            ::SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
            break;
        case HostTakesCapture:
            ::SetCapture(m_host.m_hWnd);
            break;
        }
    }

    std::string CaptureName() const {
        HWND h = ::GetCapture();
        if (!h)
            return "none";
        if (h == m_host.m_hWnd)
            return "host";
        for (int i = 0; i < 3; ++i)
            if (h == m_buttons[i].m_hWnd)
                return kNames[i];
        return "other";
    }

    // N, H or P per button: the face its static shows now.
    std::string Faces() const {
        std::string faces;
        for (int i = 0; i < 3; ++i) {
            auto shown =
                reinterpret_cast<HBITMAP>(::SendMessageA(m_buttons[i].m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0));
            char c = '?';
            for (int f = 0; f < 3; ++f)
                if (shown == m_faces[i][f])
                    c = "NHP"[f];
            faces += c;
        }
        return faces;
    }

    std::string Flags(BOOL (CHoverBitmapButton::*get)() const) const {
        std::string flags;
        for (const CHoverBitmapButton& b : m_buttons)
            flags += (b.*get)() ? '1' : '0';
        return flags;
    }

    test::HostWindow m_host;
    CHoverBitmapButton m_buttons[3];
    HBITMAP m_faces[3][3] = {}; // normal, hover, pressed

private:
    SoundPlayerFn m_previousPlayer = nullptr;
};

struct SequenceCase {
    const char* name;
    std::vector<Step> steps;
    const char* capture;
    const char* faces;
    const char* hovering;
    const char* pressed;
    size_t sounds;
    std::vector<std::string> actions;
};

TEST(HoverButton, MessageSequencesFollowTheStateTable) {
    // Buttons: 0 install, 1 readme, 2 quit. Expected afterwards: who holds the capture; the faces of
    // the three (Normal, Hover, Pressed); their hovering and pressed flags; sounds played; actions run.
    // clang-format off
    const SequenceCase cases[] = {
        {"entry captures, shows the hover face and plays once",
         {{MoveIn, 0}}, "install", "HNN", "100", "000", 1, {}},
        {"moves within play nothing more",
         {{MoveIn, 0}, {MoveIn, 0}, {MoveIn, 0}}, "install", "HNN", "100", "000", 1, {}},
        {"leaving releases and shows the normal face",
         {{MoveIn, 0}, {MoveOut, 0}}, "none", "NNN", "000", "000", 1, {}},
        {"a first move outside still enters, then leaves at once",
         {{MoveOut, 0}}, "none", "NNN", "000", "000", 1, {}},
        {"left down shows the pressed face and keeps the capture",
         {{MoveIn, 0}, {Down, 0}}, "install", "PNN", "100", "100", 1, {}},
        {"pressed and moving inside changes nothing",
         {{MoveIn, 0}, {Down, 0}, {MoveIn, 0}}, "install", "PNN", "100", "100", 1, {}},
        {"dragging out drops the press and the release does nothing",
         {{MoveIn, 0}, {Down, 0}, {DragOut, 0}, {Up, 0}}, "none", "NNN", "000", "000", 1, {}},
        {"release without a press does nothing",
         {{MoveIn, 0}, {Up, 0}}, "install", "HNN", "100", "000", 1, {}},
        {"install click: hover face, capture released, then the chooser",
         {{MoveIn, 0}, {Down, 0}, {Up, 0}}, "none", "HNN", "000", "000", 1,
         {"chooser capture=none faces=HNN"}},
        {"readme click: normal face, capture kept, then the readme",
         {{MoveIn, 1}, {Down, 1}, {Up, 1}}, "readme", "NNN", "000", "000", 1,
         {"readme capture=readme faces=NNN"}},
        {"after the readme the next move enters again, even outside",
         {{MoveIn, 1}, {Down, 1}, {Up, 1}, {MoveOut, 1}}, "none", "NNN", "000", "000", 2,
         {"readme capture=readme faces=NNN"}},
        {"a press while not hovering still fires",
         {{MoveIn, 1}, {Down, 1}, {Up, 1}, {Down, 1}, {Up, 1}}, "readme", "NNN", "000", "000", 1,
         {"readme capture=readme faces=NNN", "readme capture=readme faces=NNN"}},
        {"from one button onto another",
         {{MoveIn, 0}, {MoveOut, 0}, {MoveIn, 1}}, "readme", "NHN", "010", "000", 2, {}},
        {"a sibling's entry resets a pressed button",
         {{MoveIn, 0}, {Down, 0}, {MoveIn, 2}}, "quit", "NNH", "001", "000", 2, {}},
        {"a sibling's entry resets the other sibling too",
         {{MoveIn, 1}, {Down, 1}, {Up, 1}, {Down, 1}, {MoveIn, 0}}, "install", "HNN", "100", "000", 2,
         {"readme capture=readme faces=NNN"}},
        {"another window taking the capture leaves the hover look",
         {{MoveIn, 2}, {HostTakesCapture, -1}}, "host", "NNH", "001", "000", 1, {}},
    };
    // clang-format on
    for (const SequenceCase& c : cases) {
        SCOPED_TRACE(c.name);
        HoverGroup g;
        for (const Step& step : c.steps)
            g.Run(step);
        EXPECT_EQ(g.CaptureName(), c.capture);
        EXPECT_EQ(g.Faces(), c.faces);
        EXPECT_EQ(g.Flags(&CHoverBitmapButton::IsHovering), c.hovering);
        EXPECT_EQ(g.Flags(&CHoverBitmapButton::IsPressed), c.pressed);
        EXPECT_EQ(g_sounds.size(), c.sounds);
        for (const std::string& sound : g_sounds)
            EXPECT_EQ(sound, "focus.wav");
        EXPECT_EQ(g_actions, c.actions);
        MSG msg;
        EXPECT_FALSE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "nothing quits";
    }
}

TEST(HoverButton, ActionsOtherThanChooserAndReadmeQuit) {
    for (int action : {2, 5, -1}) {
        SCOPED_TRACE(action);
        HoverGroup g;
        g.m_buttons[2].SetAction(HoverAction(action));
        g.Run({MoveIn, 2});
        g.Run({Down, 2});
        g.Run({Up, 2});
        EXPECT_EQ(g.CaptureName(), "none");
        EXPECT_EQ(g.Faces(), "NNH");
        EXPECT_TRUE(g_actions.empty());
        MSG msg;
        ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
            << "the quit message is posted";
        EXPECT_EQ(msg.wParam, WPARAM(0));
    }
}

TEST(HoverButton, ReleasePausesWithTheHoverFaceBeforeTheAction) {
    HoverGroup g;
    ULONGLONG actionAt = 0;
    g_describeState = [&] {
        actionAt = ::GetTickCount64();
        return g.Faces();
    };
    g.Run({MoveIn, 0});
    g.Run({Down, 0});
    const ULONGLONG releasedAt = ::GetTickCount64();
    g.Run({Up, 0});
    ASSERT_EQ(g_actions, std::vector<std::string>{"chooser HNN"});
    // The pause is Sleep(100); the tick count may step by a few milliseconds either side.
    EXPECT_GE(actionAt - releasedAt, 95u);
}

TEST(HoverButton, AButtonWithoutSiblingsStillEnters) {
    test::DrainQueue();
    test::HostWindow host(40, 40, 100, 100);
    HBITMAP hover = ::CreateBitmap(kFaceWidth, kFaceHeight, 1, 32, nullptr);
    HWND h = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_NOTIFY, 0, 0,
                               kFaceWidth, kFaceHeight, host.m_hWnd, nullptr, nullptr, nullptr);
    const SoundPlayerFn previous = SetSoundPlayer(&RecordSound);
    g_sounds.clear();
    {
        CHoverBitmapButton button;
        ASSERT_TRUE(button.SubclassWindow(h));
        button.SetHoverBitmap(hover);
        ::SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
        EXPECT_TRUE(button.IsHovering());
        EXPECT_EQ(::GetCapture(), h);
        EXPECT_EQ(::SendMessageA(h, STM_GETIMAGE, IMAGE_BITMAP, 0), LRESULT(hover));
        ::ReleaseCapture();
    }
    SetSoundPlayer(previous);
    EXPECT_EQ(g_sounds.size(), 1u);
    ::DeleteObject(hover);
}

} // namespace
