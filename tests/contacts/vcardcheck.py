#!/usr/bin/python3
"""Reads a vCard file with vobject, a vCard parser of its own, validating every card,
and prints one JSON object a card with the fields the phone book fills."""
import json
import sys

import vobject


def first(card, name):
    values = card.contents.get(name, [])
    return values[0] if values else None


def main(path):
    with open(path, encoding="utf-8", newline="") as file:
        text = file.read()
    cards = []
    for card in vobject.readComponents(text, validate=True):
        card.validate(raiseException=True)
        if card.name != "VCARD" or first(card, "fn") is None or first(card, "n") is None:
            raise SystemExit("a card without FN or N")
        adr = first(card, "adr")
        bday = first(card, "bday")
        serial = first(card, "x-orvanel-serial-number")
        cards.append({
            "version": card.version.value,
            "fn": card.fn.value,
            "tel": [tel.value for tel in card.contents.get("tel", [])],
            "email": first(card, "email").value if first(card, "email") else None,
            "adr": [adr.value.street, adr.value.city, adr.value.region, adr.value.code,
                    adr.value.country] if adr else None,
            "bday": bday.value if bday else None,
            "serial": serial.value if serial else None,
        })
    json.dump(cards, sys.stdout, ensure_ascii=False)


main(sys.argv[1])
