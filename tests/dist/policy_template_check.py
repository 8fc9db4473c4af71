#!/usr/bin/env python3
"""The administrative template as Group Policy editors read it: Tintwell.admx and en-US/Tintwell.adml
are well-formed XML in the policy definitions namespace, every $(string.X) and $(presentation.X) of
the ADMX is in the ADML, every category and supportedOn reference names a definition of the ADMX,
and every control of a presentation names an element of the policy that shows it.

    policy_template_check.py DIST_FOLDER"""
import re
import sys
import xml.etree.ElementTree as ET

NS = "{http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions}"
folder = sys.argv[1]
problems = []
admx = ET.parse(f"{folder}/Tintwell.admx").getroot()
adml = ET.parse(f"{folder}/en-US/Tintwell.adml").getroot()
if admx.tag != NS + "policyDefinitions" or adml.tag != NS + "policyDefinitionResources":
    problems.append(f"root elements {admx.tag}, {adml.tag}")

strings = {s.get("id") for s in adml.iter(NS + "string")}
presentations = {p.get("id"): p for p in adml.iter(NS + "presentation")}
categories = {c.get("name") for c in admx.iter(NS + "category")}
supported = {d.get("name") for d in admx.iter(NS + "definition")}
# The ADMX's own namespace prefix may stand before a reference.
own = admx.find(f"{NS}policyNamespaces/{NS}target").get("prefix")

def local(ref):
    return ref[len(own) + 1:] if ref.startswith(own + ":") else ref

for element in admx.iter():
    for name, value in element.attrib.items():
        for kind, ident in re.findall(r"\$\((string|presentation)\.([^)]*)\)", value):
            if ident not in (strings if kind == "string" else presentations):
                problems.append(f"{element.get('name')}: {name} names $({kind}.{ident}), which the ADML lacks")
for ref in admx.iter(NS + "parentCategory"):
    if local(ref.get("ref")) not in categories:
        problems.append(f"category {ref.get('ref')} is not defined")
for ref in admx.iter(NS + "supportedOn"):
    if ref.get("ref") is not None and local(ref.get("ref")) not in supported:
        problems.append(f"supportedOn {ref.get('ref')} is not defined")
policies = list(admx.iter(NS + "policy"))
for policy in policies:
    if policy.find(NS + "supportedOn") is None or policy.find(NS + "parentCategory") is None:
        problems.append(f"{policy.get('name')}: no category or no supportedOn")
    shown = re.fullmatch(r"\$\(presentation\.([^)]*)\)", policy.get("presentation", ""))
    ids = {e.get("id") for e in policy.iter() if e.get("id")}
    if shown and shown.group(1) in presentations:
        controls = {c.get("refId") for c in presentations[shown.group(1)].iter() if c.get("refId")}
        if controls != ids:
            problems.append(f"{policy.get('name')}: presentation shows {sorted(controls)}, elements are {sorted(ids)}")
    elif ids:
        problems.append(f"{policy.get('name')}: elements without a presentation")

for p in problems:
    print("FAIL:", p)
print(f"{len(policies)} policies, {len(strings)} strings, {len(presentations)} presentations checked")
sys.exit(1 if problems else 0)
