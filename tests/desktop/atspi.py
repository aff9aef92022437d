# What the player sees of the running game, read over AT-SPI (accessibility): the
# texts of its boxes, the focused element, the selected item of the dictionary
# choice, the organizer's table rows, and what a screen reader says of every
# element. Run on the game's session bus.
#
#   atspi.py state    one line per fact, tab-separated:
#                     box NAME TEXT [focused] / focus ROLE NAME / checked NAME
#   atspi.py names    one line per named element, tab-separated: ROLE NAME
#                     STATES (editable, read-only) VALUE (current/min/max)
#                     DESCRIPTION LABELLED-BY
#   atspi.py row N    the organizer's table and row N (0 the first word) of it:
#                     "table X Y W H", then "cell COLUMN X Y W H TEXT" a column
#   atspi.py text NAME  the text of the box that NAME labels
#   atspi.py press NAME   presses the shown button NAME (where keys cannot be typed)
#   atspi.py put BOX TEXT sets the text of box BOX and gives it the focus
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

# The boxes, by the names a screen reader reads.
BOXES = {"パソコンのじゅくご": "comp_juku", "あなたのじゅくご": "user_juku", "あなたのよみがな": "user_yomi",
         "パソコンのふきだし": "bubble", "自分の辞書の名前": "name_box",
         "おしえるじゅくご": "teach_juku", "おしえるよみがな": "teach_yomi"}


def game():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and (app.get_name() or "").lower() == "renkomi":
            return app
    sys.exit("the game is not on the accessibility bus")


def nodes(node, depth=0):
    # (Qt 6.4 answers screen coordinates whatever is asked.)
    if node is None or depth > 12:
        return
    try:
        ext = node.get_extents(Atspi.CoordType.SCREEN)
    except Exception:
        return
    yield node, ext
    for i in range(node.get_child_count()):
        yield from nodes(node.get_child_at_index(i), depth + 1)


def text_of(node):
    return Atspi.Text.get_text(node, 0, Atspi.Text.get_character_count(node)).replace("\n", "/")


def state():
    for node, _ in nodes(game()):
        role, states = node.get_role(), node.get_state_set()
        focused = states.contains(Atspi.StateType.FOCUSED)
        if role == Atspi.Role.TEXT:
            name = BOXES.get(node.get_name() or "")
            if name and states.contains(Atspi.StateType.SHOWING):
                print("box", name, text_of(node), "focused" if focused else "", sep="\t")
            elif name is None and focused:
                print("focus", "text", "", sep="\t")
        elif focused and role != Atspi.Role.TABLE_CELL:
            print("focus", node.get_role_name(), node.get_name() or "", sep="\t")
        if role == Atspi.Role.RADIO_BUTTON and states.contains(Atspi.StateType.CHECKED):
            print("checked", node.get_name() or "", sep="\t")


def row(n):
    for node, ext in nodes(game()):
        if node.get_role() == Atspi.Role.TABLE:
            print("table", ext.x, ext.y, ext.width, ext.height, sep="\t")
            for column in range(Atspi.Table.get_n_columns(node)):
                c = Atspi.Table.get_accessible_at(node, n, column)
                e = c.get_extents(Atspi.CoordType.SCREEN)
                print("cell", column, e.x, e.y, e.width, e.height, c.get_name() or "", sep="\t")
            return
    sys.exit("no table")


def labelled_text(name):
    for node, _ in nodes(game()):
        if node.get_role() == Atspi.Role.TEXT and node.get_name() == name:
            print(text_of(node))
            return
    sys.exit("no box " + name)


def names():
    states = {Atspi.StateType.EDITABLE: "editable", Atspi.StateType.READ_ONLY: "read-only"}
    for node, _ in nodes(game()):
        name = node.get_name() or ""
        if not name:
            continue
        have = node.get_state_set()
        value = ""
        if "Value" in node.get_interfaces():
            value = "%g/%g/%g" % (Atspi.Value.get_current_value(node), Atspi.Value.get_minimum_value(node),
                                  Atspi.Value.get_maximum_value(node))
        labels = [t.get_name() or "" for r in node.get_relation_set()
                  if r.get_relation_type() == Atspi.RelationType.LABELLED_BY
                  for t in (r.get_target(i) for i in range(r.get_n_targets()))]
        print(node.get_role_name(), name, ",".join(v for k, v in states.items() if have.contains(k)), value,
              (node.get_description() or "").replace("\n", "/"), ",".join(labels), sep="\t")


def press(name):
    for node, _ in nodes(game()):
        if (node.get_role() == Atspi.Role.PUSH_BUTTON and node.get_name() == name
                and node.get_state_set().contains(Atspi.StateType.SHOWING)):
            Atspi.Action.do_action(node, 0)
            return
    sys.exit("no button " + name)


def put(box, text):
    for node, _ in nodes(game()):
        if node.get_role() == Atspi.Role.TEXT and BOXES.get(node.get_name() or "") == box:
            Atspi.EditableText.set_text_contents(node, text)
            Atspi.Component.grab_focus(node)
            return
    sys.exit("no box " + box)


if sys.argv[1] == "state":
    state()
elif sys.argv[1] == "names":
    names()
elif sys.argv[1] == "row":
    row(int(sys.argv[2]))
elif sys.argv[1] == "text":
    labelled_text(sys.argv[2])
elif sys.argv[1] == "press":
    press(sys.argv[2])
elif sys.argv[1] == "put":
    put(sys.argv[2], sys.argv[3])
