#!/usr/bin/env python3
"""The release publishes only files a Windows job ran: the workflow's wiring.

Read from the workflow file alone, without GitHub:

- the release job publishes one folder (scripts/publish-release.sh, which
  publishes the files its SHA256SUMS names, each checked, and SHA256SUMS, and
  refuses any other: the release_publishing test), and that folder is an
  artifact it downloads and no other step of it touches;
- that artifact is uploaded once, by the job that runs tests/windows/smoke.cmd
  on Windows, which the release job needs (and runs for a tag v once every job
  before it passed): from the folder the smoke script ran in, after it, only
  when every step before passed;
- that folder is the one artifact the Windows job downloads, uploaded once,
  by the job that signs, from the folder its scripts/package.sh (with the
  signer) wrote;
- the signing secrets are read by that job alone, in steps that run for a
  tag v alone; the Windows job and the release job read no secret.

What the steps' shell commands do beyond that is not read here. Each check
is then broken in a copy of the workflow, in turn, and must fail there.

  check_workflow.py WORKFLOW
"""
import copy
import re
import shlex
import sys

try:
    import yaml
except ImportError:
    print("Python's yaml is not installed: run scripts/install-deps.sh workflow")
    sys.exit(1)

SMOKE = "tests\\windows\\smoke.cmd"
TAG_CONDITION = "startsWith(github.ref, 'refs/tags/v')"


def folder(path):
    """A path as a step's shell and a step's inputs both write it."""
    path = re.sub(r"\$\{\{\s*runner\.temp\s*\}\}", "$RUNNER_TEMP", str(path).strip())
    return path.rstrip("/")


def uses(step, action):
    return str(step.get("uses", "")).split("@")[0] == action


def commands(step, script):
    """The argument lists of the step's commands that run `script`."""
    text = str(step.get("run", "")).replace("\\\n", " ")
    found = []
    for line in text.splitlines():
        if script in line:
            words = shlex.split(line)
            found.append(words[words.index(script) + 1:])
    return found


def needs(job):
    value = job.get("needs", [])
    return [value] if isinstance(value, str) else list(value)


def uploads(workflow, name):
    """(job id, step index) of every step that uploads artifact `name`."""
    return [(job_id, index)
            for job_id, job in workflow["jobs"].items()
            for index, step in enumerate(job.get("steps", []))
            if uses(step, "actions/upload-artifact") and step.get("with", {}).get("name") == name]


def included(step):
    """The paths an upload step takes, without the ones it leaves out."""
    paths = [line.strip() for line in str(step["with"].get("path", "")).splitlines()]
    return [folder(path) for path in paths if path and not path.startswith("!")]


def downloads(job):
    return [(index, step) for index, step in enumerate(job.get("steps", []))
            if uses(step, "actions/download-artifact")]


def problems(workflow):
    """Each check's name and what is wrong with it, or None when it holds."""
    jobs = workflow["jobs"]
    results = {}

    def check(name, problem):
        results.setdefault(name, problem)

    # The release: the one job that runs scripts/publish-release.sh.
    publishing = [(job_id, index, args) for job_id, job in jobs.items()
                  for index, step in enumerate(job.get("steps", []))
                  for args in commands(step, "scripts/publish-release.sh")]
    if len(publishing) != 1:
        check("the release publishes one folder", f"{len(publishing)} publish-release.sh commands")
        return results
    release_id, publish_index, args = publishing[0]
    release = jobs[release_id]
    published = folder(args[4]) if len(args) == 5 else None
    check("the release publishes one folder",
          None if published else f"publish-release.sh is given {args}, not one folder")
    if not published:
        return results

    fetched = downloads(release)
    names = [step["with"].get("name") for index, step in fetched
             if folder(step["with"].get("path", "")) == published and index < publish_index]
    check("the folder is an artifact the release job downloads, its only one",
          None if len(names) == 1 and len(fetched) == 1
          else f"{len(fetched)} downloads, {len(names)} of them into {published} before publishing")
    touching = [step.get("name", step.get("uses")) for index, step in enumerate(release["steps"])
                if index != publish_index and not uses(step, "actions/download-artifact")
                and published in folder(yaml.safe_dump(step))]
    check("no other step of the release job touches the folder",
          f"{touching} name it" if touching else None)
    if len(names) != 1:
        return results
    ran = names[0]

    # The Windows job: the one that uploads that artifact.
    uploaders = uploads(workflow, ran)
    windows_id = uploaders[0][0] if len(uploaders) == 1 else None
    windows = jobs.get(windows_id, {})
    smoke = [index for index, step in enumerate(windows.get("steps", []))
             if SMOKE in str(step.get("run", ""))]
    check("the artifact is the Windows job's, which runs the smoke script",
          None if windows_id and smoke and str(windows.get("runs-on", "")).startswith("windows")
          else f"uploaded by {[job for job, _ in uploaders]}, none of them the smoke script's on Windows")
    if not (windows_id and smoke):
        return results
    condition = str(release.get("if", ""))
    check("the release job needs the Windows job, runs once every job before passed, for a tag v",
          None if windows_id in needs(release) and "success()" in condition and TAG_CONDITION in condition
          else f"it needs {needs(release)} and runs if {condition or 'success()'}")
    upload_index = uploaders[0][1]
    upload = windows["steps"][upload_index]
    smoke_step = windows["steps"][smoke[0]]
    ran_in = folder(smoke_step.get("working-directory", "."))
    check("the Windows job uploads the folder the smoke script ran in",
          None if included(upload) == [ran_in] else f"it uploads {included(upload)}, the script ran in {ran_in}")
    lenient = [step.get("name", step.get("uses")) for step in windows["steps"][:upload_index]
               if step.get("continue-on-error")]
    check("the Windows job uploads it after the smoke script, only when every step before passed",
          f"the upload is step {upload_index}, the smoke script step {smoke[0]}" if upload_index < smoke[0]
          else f"the upload runs if {upload['if']}" if "if" in upload
          else f"{lenient} may fail" if lenient else None)

    # The packaging: the one job that uploads what the Windows job runs.
    fetched = [step["with"].get("name") for _, step in downloads(windows)
               if folder(step["with"].get("path", "")) == ran_in]
    shipping = fetched[0] if len(fetched) == 1 and len(downloads(windows)) == 1 else None
    makers = uploads(workflow, shipping) if shipping else []
    package_id = makers[0][0] if len(makers) == 1 else None
    package = jobs.get(package_id, {})
    made = [folder(args[args.index("--out") + 1])
            for step in package.get("steps", [])[:makers[0][1] if makers else 0]
            for args in commands(step, "scripts/package.sh")
            if "--pfx" in step.get("run", "") and "--out" in args]
    maker = package["steps"][makers[0][1]] if makers else None
    check("the Windows job runs the signing job's scripts/package.sh files, and no others",
          None if maker and made and included(maker) == [made[-1]] and package_id in needs(windows)
          else f"it downloads {fetched} into {ran_in}, uploaded by "
               f"{[job for job, _ in makers]}, whose package.sh with the signer writes {made}")

    # The signing secrets.
    readers = [(job_id, step.get("name", step.get("uses")), str(step.get("if", "")))
               for job_id, job in jobs.items() for step in job.get("steps", [])
               if "secrets.SIGNING_" in yaml.safe_dump(step)]
    outside = [f"{job_id}: {name}" for job_id, name, condition in readers
               if job_id != package_id or TAG_CONDITION not in condition]
    outside += [f"{job_id}: the whole job" for job_id, job in jobs.items() if "secrets.SIGNING_" in
                yaml.safe_dump({key: value for key, value in job.items() if key != "steps"})]
    check("the signing secrets are read by the signing job alone, for a tag v alone",
          None if readers and not outside else f"read by {outside or 'no step'}")
    secret_readers = [job_id for job_id in (windows_id, release_id)
                      if "secrets." in yaml.safe_dump(jobs[job_id])]
    check("the Windows job and the release job read no secret",
          f"{secret_readers} read one" if secret_readers else None)
    return results


def step_named(job, name):
    return next(step for step in job["steps"] if step.get("name") == name)


def step_using(job, action, artifact=None):
    return next(step for step in job["steps"] if uses(step, action)
                and (artifact is None or step.get("with", {}).get("name") == artifact))


def breaking():
    """Changes to the workflow, each with the check it must fail."""
    def release_takes_shipping(w):
        step_using(w["jobs"]["release"], "actions/download-artifact")["with"]["name"] = "shipping"

    def upload_always(w):
        step_using(w["jobs"]["windows"], "actions/upload-artifact", "ran-on-windows")["if"] = "always()"

    def upload_first(w):
        steps = w["jobs"]["windows"]["steps"]
        step = step_using(w["jobs"]["windows"], "actions/upload-artifact", "ran-on-windows")
        steps.remove(step)
        steps.insert(2, step)

    def own_sums(w):
        step = step_named(w["jobs"]["release"], "scripts/publish-release.sh")
        step["run"] = step["run"].rstrip("\n") + ' "$RUNNER_TEMP/SHA256SUMS"\n'

    def writes_folder(w):
        w["jobs"]["release"]["steps"].insert(-1, {
            "name": "Fresh files", "shell": "bash",
            "run": 'cp build/windows/shipping/* "$RUNNER_TEMP/ran-on-windows/"'})

    def smoke_elsewhere(w):
        step_named(w["jobs"]["windows"], SMOKE)["working-directory"] = "elsewhere"

    def windows_runs_unsigned(w):
        step_using(w["jobs"]["windows"], "actions/download-artifact")["with"]["name"] = "windows-build"

    def signer_always(w):
        del step_named(w["jobs"]["package"], "The signer, for a tag when the repository holds one")["if"]

    def release_always(w):
        w["jobs"]["release"]["if"] = "${{ always() && " + TAG_CONDITION + " }}"

    def secrets_for_the_job(w):
        w["jobs"]["package"]["env"] = {"PFX": "${{ secrets.SIGNING_PFX_BASE64 }}"}

    def windows_reads_secret(w):
        step_named(w["jobs"]["windows"], SMOKE)["env"] = {"PFX": "${{ secrets.SIGNING_PFX_BASE64 }}"}

    return [
        ("the release takes the packaging job's artifact", release_takes_shipping,
         "the artifact is the Windows job's, which runs the smoke script"),
        ("the Windows job uploads its folder whatever its tests did", upload_always,
         "the Windows job uploads it after the smoke script, only when every step before passed"),
        ("the Windows job uploads its folder before the smoke script", upload_first,
         "the Windows job uploads it after the smoke script, only when every step before passed"),
        ("the release publishes a SHA256SUMS of its own too", own_sums,
         "the release publishes one folder"),
        ("a step of the release job copies files into the folder", writes_folder,
         "no other step of the release job touches the folder"),
        ("the smoke script runs in another folder", smoke_elsewhere,
         "the Windows job uploads the folder the smoke script ran in"),
        ("the Windows job runs the linux job's unsigned files", windows_runs_unsigned,
         "the Windows job runs the signing job's scripts/package.sh files, and no others"),
        ("the signer reads the secrets for every push", signer_always,
         "the signing secrets are read by the signing job alone, for a tag v alone"),
        ("the release runs whatever the Windows job did", release_always,
         "the release job needs the Windows job, runs once every job before passed, for a tag v"),
        ("the signing job gives a secret to every step", secrets_for_the_job,
         "the signing secrets are read by the signing job alone, for a tag v alone"),
        ("the Windows job reads a signing secret", windows_reads_secret,
         "the signing secrets are read by the signing job alone, for a tag v alone"),
    ]


def main():
    with open(sys.argv[1], encoding="utf-8") as file:
        workflow = yaml.safe_load(file)
    failed = 0
    for name, problem in problems(workflow).items():
        print(f"FAIL  {name}: {problem}" if problem else f"ok    {name}")
        failed += problem is not None
    for what, change, expected in breaking():
        broken = copy.deepcopy(workflow)
        try:
            change(broken)
        except (KeyError, StopIteration, ValueError) as error:
            print(f"FAIL  broken, {what}: the workflow has no such step ({error!r})")
            failed += 1
            continue
        problem = problems(broken).get(expected)
        print(f"ok    broken, {what}: fails \"{expected}\"" if problem
              else f"FAIL  broken, {what}: \"{expected}\" still holds")
        failed += problem is None
    print("PASSED" if failed == 0 else "FAILED")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
