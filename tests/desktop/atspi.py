# What the player sees of the running game, read over AT-SPI (accessibility): the
# texts of its boxes, the focused element, the selected item of the dictionary
# choice, and the organizer's table cells. Run on the game's session bus.
#
#   atspi.py state    one line per fact, tab-separated:
#                     box NAME TEXT [focused] / focus ROLE NAME / checked NAME
#   atspi.py cell TEXT  the screen extents of the organizer's table and of the
#                     cell holding TEXT: "x y w h x y w h"
#   atspi.py press NAME   presses the shown button NAME (where keys cannot be typed)
#   atspi.py put BOX TEXT sets the text of box BOX and gives it the focus
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

MAIN = "Renkomi Ver.2.0"
TEACH = "じゅくごをおしえて"
# The boxes, by their window and their place in it (Qt gives them no names).
BOXES = {(MAIN, 104, 56): "comp_juku", (MAIN, 104, 224): "user_juku", (MAIN, 104, 272): "user_yomi",
         (MAIN, 376, 15): "bubble", (MAIN, 26, 122): "name_box",
         (TEACH, 104, 48): "teach_juku", (TEACH, 104, 96): "teach_yomi"}


def game():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and (app.get_name() or "").lower() == "renkomi":
            return app
    sys.exit("the game is not on the accessibility bus")


def nodes(node, top=None, depth=0):
    # Qt 6.4 answers screen coordinates whatever is asked: places are taken
    # relative to the window's own extents.
    if node is None or depth > 12:
        return
    try:
        ext = node.get_extents(Atspi.CoordType.SCREEN)
    except Exception:
        return
    if top is None and depth == 1:
        top = (node.get_name() or "", ext.x, ext.y)
    yield node, top, ext
    for i in range(node.get_child_count()):
        yield from nodes(node.get_child_at_index(i), top, depth + 1)


def text_of(node):
    return Atspi.Text.get_text(node, 0, Atspi.Text.get_character_count(node)).replace("\n", "/")


def state():
    for node, top, ext in nodes(game()):
        role, states = node.get_role(), node.get_state_set()
        focused = states.contains(Atspi.StateType.FOCUSED)
        if role == Atspi.Role.TEXT and top is not None:
            name = BOXES.get((top[0], ext.x - top[1], ext.y - top[2]))
            if name and states.contains(Atspi.StateType.SHOWING):
                print("box", name, text_of(node), "focused" if focused else "", sep="\t")
            elif name is None and focused:
                print("focus", "text", "", sep="\t")
        elif focused and role != Atspi.Role.TABLE_CELL:
            print("focus", node.get_role_name(), node.get_name() or "", sep="\t")
        if role == Atspi.Role.RADIO_BUTTON and states.contains(Atspi.StateType.CHECKED):
            print("checked", node.get_name() or "", sep="\t")


def cell(text):
    table = None
    for node, _, ext in nodes(game()):
        if node.get_role() == Atspi.Role.TABLE:
            table = ext
        elif node.get_role() == Atspi.Role.TABLE_CELL and node.get_name() == text and table:
            print(table.x, table.y, table.width, table.height, ext.x, ext.y, ext.width, ext.height)
            return
    sys.exit("no cell " + text)


def press(name):
    for node, _, _ in nodes(game()):
        if (node.get_role() == Atspi.Role.PUSH_BUTTON and node.get_name() == name
                and node.get_state_set().contains(Atspi.StateType.SHOWING)):
            Atspi.Action.do_action(node, 0)
            return
    sys.exit("no button " + name)


def put(box, text):
    for node, top, ext in nodes(game()):
        if (node.get_role() == Atspi.Role.TEXT and top is not None
                and BOXES.get((top[0], ext.x - top[1], ext.y - top[2])) == box):
            Atspi.EditableText.set_text_contents(node, text)
            Atspi.Component.grab_focus(node)
            return
    sys.exit("no box " + box)


if sys.argv[1] == "state":
    state()
elif sys.argv[1] == "cell":
    cell(sys.argv[2])
elif sys.argv[1] == "press":
    press(sys.argv[2])
elif sys.argv[1] == "put":
    put(sys.argv[2], sys.argv[3])
