#include "dialogs/helptext.h"

#include <string_view>

namespace arcavio {
namespace {

// Kept as the text a user would write into help.ini, so a translator can start from it.
constexpr std::string_view kHelpText = R"help(HELP FILE FOR ARCAVIO 2 - HELP FILE 1.0 - BUILD IN EXE
=======================================================

This help explains every field of a configuration and every MAME
option that the configuration editor offers, in the order of the
editor's pages. Arcavio 2 writes these options into the file mame.ini
in the directory of the MAME executable each time a configuration is
run, so the game always starts with the options of the configuration.

To show another text here (a translation, or your own notes), put a
plain text file named help.ini in the directory Arcavio 2 is started
in. It replaces this text the next time the program starts.

Every directory and file field of the editor has a Search button to
pick it, and most have a Default button that puts back the value a new
configuration starts with. Save writes the configuration into the
directory of the configuration list; Save As asks for a new name.

----------------------
CONFIGURATIONS DETAILS
----------------------

Mame Exe File:
The full path of the MAME program this configuration starts, for
example C:\MAME\mame.exe or /usr/games/mame. Use the Search button to
pick it. Arcavio 2 starts MAME with its own directory as the current
directory, and the option file mame.ini is written there too. A
configuration whose MAME program does not exist cannot be run.

Configuration Image:
Optional. A picture shown beside the configuration list when this
configuration is selected: a bitmap (bmp), an icon (ico), a metafile
(emf or wmf) or a JPEG picture (jpg or jpeg). Clear removes it.
A name without a path is looked for in the directory Arcavio 2 was
started in, so pictures kept beside the configurations can be moved
together with them.

About Text:
Optional. One line of text shown in the status bar of the main window
when this configuration is selected, for example the games or the
monitor it was made for.

Run A Specified Game:
When checked, the configuration always runs the game chosen with the
Search button beside it and never asks which game to play. When not
checked, Run shows the games found in the ROMS directory and asks for
one each time. The game is kept as the name of its zip archive, for
example pacman.zip, and the archive must be in the ROMS directory.

DIRECTORIES:
The directories MAME uses. A name without a path, such as roms, is a
directory inside the directory of the MAME executable.
ROMS: the game ROM archives (zip files), one archive for each game.
Samples: the recorded sound samples that some games need.
Cfg: the settings MAME keeps for each game (keys, dip switches).
NVRAM: the contents of the games' battery-backed memory.
Memory cards: the memory card files of the games that use them.
Input: the recorded input (inp) files for playing back a game.
HI-Score: the high score tables saved between games.
States: the saved states of running games.
ArtWork: the backdrops, overlays and bezels of the games.
Snapshots: the screen snapshots taken while playing.

FILES:
Cheat File: the DAT file with the cheat codes, normally cheat.dat.
History File: the DAT file with the history of each game, history.dat.
Mame Info File: the DAT file with notes on each driver, mameinfo.dat.
A name without a path is a file in the directory of the MAME program.
These files are read by MAME itself, not by Arcavio 2.

-------------
VIDEO OPTIONS
-------------

FRAME SKIP:
The number of frames to skip out of every 12, from 0 to 11. A skipped
frame is emulated but not drawn, so a game that is too slow for the
computer can keep its speed at the price of a jerkier picture.
A value of 11 draws only one frame out of 12.
Used only when AUTO FRAME SKIP is off.
Default: 0, every frame is drawn.

AUTO FRAME SKIP:
Lets MAME change the number of skipped frames while the game runs,
skipping more when the computer falls behind and fewer when it keeps
up, so that the game runs at its full speed with the smoothest
picture the computer can give.
Default: on.

WAIT VSYNC:
Waits for the vertical retrace of the monitor before a new frame is
shown, which removes the tearing of moving pictures. The game can run
too slow or too fast when the refresh rate of the monitor is far from
the game's own. Most arcade games run at about 60 frames a second, so
a monitor set to 60 Hz suits them best.
Needs: WINDOW off.
Default: off.

TRIPPLE BUFFER:
Draws into three video buffers, so that the finished frame is shown at
the vertical retrace without the game having to wait for it: no tearing
and less slowdown than WAIT VSYNC, at the cost of some video memory.
Needs: WINDOW off, DIRECT DRAW on.
Default: off.

WINDOW:
Runs the game in a window on the desktop instead of full screen. The
window can be moved and other programs stay visible. Many of the
options below work in full screen only and need WINDOW off.
Default: off.

DIRECT DRAW:
Draws the picture through DirectDraw, which is faster than the plain
Windows drawing and gives hardware stretching, triple buffering and
resolution switching. Turn it off only when the video card's driver
gives trouble.
Default: on.

HARDWARE STRETCH:
Lets the video card enlarge the game's picture to fill the screen or
the window, which costs almost nothing and looks smoother than MAME's
own enlarging by whole multiples. Turn it off when the enlarged
picture looks blurred and you prefer sharp pixels.
Needs: DIRECT DRAW on.
Default: on.

RESOLUTION:
The width, height and colour depth of the full screen mode, for example
640 x 480 x 16. The mode must be one the video card and the monitor
can show.
Used only when AUTO SELECT THE RESOLUTION is off.
Needs: WINDOW off, SWITCH THE RESOLUTION on.
Default: auto.

AUTO SELECT THE RESOLUTION:
Lets MAME choose for each game the full screen mode that fits its
picture best, usually the smallest mode that holds the whole picture.
Turn it off to use the mode given in RESOLUTION.
Default: on.

REFRESH RATE:
The refresh rate, in Hz, that MAME asks for when it sets the full
screen mode. 0 keeps the refresh rate the monitor already uses.
A rate the monitor cannot show gives a black screen or can even harm
an old monitor: look it up in the monitor's manual first.
Needs: WINDOW off.
Default: 0.

SCANLINES:
Leaves a dark line between the lines of the picture, like the screen of
an arcade monitor. The picture is then drawn at twice its height, so
a larger screen mode is needed and the picture looks darker; raise
BRIGHTNESS to make up for it.
Needs: HARDWARE STRETCH off.
Default: off.

SWITCH THE RESOLUTION:
Lets MAME change the screen resolution for full screen play. When off,
the game is drawn in the resolution of the desktop and stretched or
centred in it. Turn it off for flat screens, which look best at
their own resolution.
Needs: WINDOW off.
Default: on.

COLOR DEPTH SWITCH:
Lets MAME change the colour depth (bits per pixel) of the screen when a
game needs another depth than the desktop's. When off, every game is
drawn in the colour depth of the desktop.
Needs: WINDOW off.
Default: on.

MAXIMIZE:
Opens the game's window as large as the screen allows instead of at the
game's own size. The window can still be resized by hand.
Needs: WINDOW on.
Default: on.

KEEP ASPECT:
Keeps the proportions of the game's screen (4:3 on most arcade
monitors) when the picture is stretched, leaving black borders where
the screen or the window has other proportions. Turn it off to fill
the whole screen.
Default: on.

MATCH REFRESH:
Chooses the full screen refresh rate closest to the game's own frame
rate, for the smoothest scrolling. It works only with monitors and
video cards that offer many refresh rates.
Needs: WINDOW off.
Default: off.

SYNC REFRESH:
Times the game by the refresh of the monitor instead of the game's own
clock. Scrolling is very smooth when the two rates are close; otherwise
the game runs at the wrong speed. Best used with MATCH REFRESH.
Default: off.

DIRTY:
Redraws only the parts of the screen that changed since the last frame,
which is faster on slow computers. Games that do not mark their changes
are always redrawn whole. On a fast computer it makes no difference,
and turning it off can cure pieces of old pictures left on the screen.
Default: on.

THROTTLE:
Holds the game to the speed of the real machine. When off, the game
runs as fast as the computer can, which is useful only for testing.
The F10 key turns it on and off while a game runs.
Default: on.

BRIGHTNESS (FULL SCREEN):
The brightness of the picture in full screen mode, set through the
gamma ramp of the video card: 1.0 is normal, smaller values darken the
picture and larger values brighten it. Not every video card allows it.
Needs: WINDOW off.
Default: 1.0.

FRAMES TO RUN:
Runs the game for this number of frames and then quits, to measure the
speed of the computer. 0 runs the game until you quit it. MAME shows
the average speed reached when it ends.
Default: 0.

-------------
INPUT OPTIONS
-------------

HOTROD/HOTROD SE:
Sets the keys of the HotRod or of the HotRod SE control panel, which
the computer sees as a keyboard, so that both players' sticks and
buttons work as on the arcade machine. Choose only one of the two:
HOTROD for the first panel, HOTROD SE for the Special Edition.
Default: off.

MOUSE:
Lets the mouse play the part of the trackball, dial, spinner or light
gun in the games that use one.
Default: off.

JOYSTICK:
Reads the joysticks and game pads connected to the computer, in
addition to the keyboard. Calibrate analogue joysticks in the system's
settings before playing.
Default: off.

------------
CORE OPTIONS
------------

Video Options
-------------

BITMAP DEPTH:
The colour depth, in bits per pixel, in which MAME draws the game
before it is shown. 0 lets MAME choose the depth each game needs;
8 bits are enough for most older games, while games with many colours
need 16 bits or more.
Default: 0.

NO ROTATE/ROTATE RIGHT/ROTATE LEFT/FLIP HORRIZONTALLY/FLIP VERTICALLY:
NO ROTATE shows games with a vertical monitor as the game draws them,
without turning the picture upright. ROTATE RIGHT and ROTATE LEFT turn
the picture a quarter turn clockwise or anticlockwise, for a monitor
lying on its side. FLIP HORRIZONTALLY mirrors the picture left to right
and FLIP VERTICALLY top to bottom, for cabinets that show the screen
through a mirror.
Default: all off.

DEBUG RESOLUTION:
The width, height and colour depth of the debugger's screen, for
example 640 x 480 x 8.
Used only when DEBUG is on and AUTO SELECT THE DEBUG RESOLUTION is off.
Default: auto.

AUTO SELECT THE DEBUG RESOLUTION:
Lets MAME choose the size of the debugger's screen.
Used only when DEBUG is on.
Default: on.

GAMMA CORRECTION:
The gamma of the game's colours, from 0.5 (darker) to 2.0 (brighter);
1.0 leaves the colours as the game makes them. Unlike BRIGHTNESS it
works in a window too.
Default: 1.0.

Vector Game Options
-------------------

ANTIALIASING:
Smooths the edges of the lines of vector games, such as Asteroids, so
that they look less jagged. It costs some speed on slow computers.
Default: on.

TRANSLUCENCY:
Draws the vector lines translucent, so that where two lines cross the
point is brighter, as on a real vector monitor. Like ANTIALIASING,
it costs some speed on slow computers.
Default: on.

BEAM:
The width of the vector beam, from 1.00 to 16.00 pixels. Wider lines
are easier to see on large screens.
Default: 1.00.

FLICKER:
Makes the vector lines flicker like the tube of an old vector monitor,
from 0.00 (no flicker) to 100.00. Small values such as 10.00 give the
gentle shimmer of the real machine.
Default: 0.00.

Sound Options
-------------

SAMPLES: plays the recorded samples that some games use for their sounds.
RESAMPLE FILTER: smooths the sound when it is converted to the sample rate.
SOUNDS: turns the sound on or off; a game without sound runs a little faster.
VOLUME: the sound attenuation in decibels, from -32 (quietest) to 0 (loudest).
The sample rate of the sound is set on the same page; 44100 Hz gives the
best sound, and lower rates make slow computers a little faster.

Misc Options
------------

LOG FILE:
Writes what the emulated hardware does into the file error.log in the
MAME directory. Useful to the authors of MAME only, and the file can
grow large.
Default: off.

CHEAT:
Turns on the cheat system, which reads its codes from the Cheat File
given under FILES. Cheats are chosen in the MAME menu during the game.
Default: off.

DEBUG:
Starts the game in the MAME debugger. Works only with a MAME built with
the debugger; the tilde key opens and closes the debugger while the
game runs.
Default: off.

ART WORK:
Shows the backdrops, overlays and bezels of the ArtWork directory over
and around the game's screen. Games without artwork are shown as
usual.
Default: on.


)help";

} // namespace

const LineList& builtinHelpText()
{
    static const LineList lines = LineList::fromText(kHelpText);
    return lines;
}

LineList withLongLinesBroken(const LineList& lines, std::size_t longest)
{
    const auto continuesACharacter = [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
    };
    LineList shown;
    for (const std::string& line : lines.lines()) {
        std::size_t start = 0;
        while (line.size() - start > longest) {
            std::size_t end = start + longest;
            while (end > start && continuesACharacter(line[end]))
                --end;
            if (end == start)
                end = start + longest;
            const std::string_view piece = std::string_view(line).substr(start, end - start);
            if (const std::size_t blank = piece.rfind(' ');
                blank != std::string_view::npos && blank >= longest / 2)
                end = start + blank + 1;
            shown.append(line.substr(start, end - start));
            start = end;
        }
        shown.append(line.substr(start));
    }
    return shown;
}

} // namespace arcavio
