' Creates an account in the demonstration domain through the automation objects.
Set api = CreateObject("CorvaneServer.APIObject")
Set domain = api.OpenDomain("demo-mx.example")
Set account = domain.NewAccount()
account.New "example"
account.Save
