// Without anybody to ask, message boxes answer their first button and inputs are cancelled.
println(nameOf(alert("hello")) + " " + nameOf(alert()) + " " + confirm("sure?") + " " + confirm("sure?", "caption"));
println(msgBox("m") + " " + msgBox("m", 1) + " " + msgBox("m", 2) + " " + msgBox("m", 3) + " " + msgBox("m", 4) + " " + msgBox("m", 5, "c"));
println(prompt("name?", "default") + " " + prompt("pw", "", "*", "caption", 300) + " " + typeof prompt());
println(textArea("notes", "text") + " " + textArea("notes", "", "caption", 10, 500));
